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

    char buffer[kMaxPath];
    const auto shortLength = GetShortPathNameA(longPath, buffer, sizeof buffer);
    ASSERT_GT(shortLength, 0u);
    const std::string shortPath(buffer, shortLength);
    EXPECT_NE(shortPath.find('~'), std::string::npos) << shortPath;
    EXPECT_LT(shortPath.size(), longPath.size());

    const auto longLength = GetLongPathNameA(shortPath, buffer, sizeof buffer);
    ASSERT_GT(longLength, 0u);
    EXPECT_STREQ(buffer, longPath.c_str());

    EXPECT_EQ(GetLongPathNameA(longPath, buffer, 5), longPath.size() + 1)
        << "too small a buffer: the size needed, with the NUL";
    EXPECT_EQ(GetLongPathNameA(Path("does not exist"), buffer, sizeof buffer), 0u);

    const std::string folder = Path("Long Folder Name\\");
    ASSERT_GT(GetShortPathNameA(folder, buffer, sizeof buffer), 0u);
    EXPECT_EQ(std::string(buffer).back(), '\\') << "a trailing backslash stays";
}

TEST_F(FilesContract, ErrorTextsNameTheFailure) {
    const std::string denied = ErrorDescription(kErrorAccessDenied);
    EXPECT_NE(denied.find("denied"), std::string::npos) << denied;
    EXPECT_NE(denied.back(), '\n');
    EXPECT_NE(ErrorDescription(kErrorFileNotFound), denied);
}

}  // namespace
