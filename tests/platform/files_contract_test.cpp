// Appended files, path forms and error texts as the system relies on them.
#include <gtest/gtest.h>

#include <string>

#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/folders.h"

using namespace platform;

namespace {

class FilesContract : public ::testing::Test {
  protected:
    void SetUp() override { scratch_ = contract::PrepareMachine(); }

    std::string Path(const std::string& name) const { return scratch_ + "\\" + name; }

    std::string scratch_;
};

TEST_F(FilesContract, AppendCreatesThenExtends) {
    const std::string log = Path("app.log");
    ASSERT_TRUE(AppendToFile(log, "one\r\n"));
    ASSERT_TRUE(AppendToFile(log, "two\r\n"));
    EXPECT_EQ(contract::ReadFile(log), "one\r\ntwo\r\n");
    EXPECT_FALSE(AppendToFile(Path("no folder\\app.log"), "x"));
}

TEST_F(FilesContract, LongAndShortFormsOfAnExistingPath) {
    const std::string longPath = Path("Long Folder Name\\Another long name.txt");
    contract::MakeFolder(Path("Long Folder Name"));
    contract::WriteFile(longPath, "x");

    const std::string shortPath = ShortPathName(longPath);
    EXPECT_NE(shortPath.find('~'), std::string::npos) << shortPath;
    EXPECT_LT(shortPath.size(), longPath.size());
    EXPECT_EQ(LongPathName(shortPath), longPath);
    EXPECT_EQ(LongPathName(Path("does not exist")), "");
    EXPECT_TRUE(ShortPathName(Path("Long Folder Name\\")).ends_with('\\'))
        << "a trailing backslash stays";
}

TEST_F(FilesContract, ErrorTextsNameTheFailure) {
    const std::string denied = ErrorDescription(kErrorAccessDenied);
    EXPECT_NE(denied.find("denied"), std::string::npos) << denied;
    EXPECT_NE(denied.back(), '\n');
    EXPECT_NE(ErrorDescription(kErrorFileNotFound), denied);
}

}  // namespace
