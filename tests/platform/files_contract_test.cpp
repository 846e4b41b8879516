// Profile files, appended files and path forms as the system relies on them.
#include <gtest/gtest.h>

#include <string>

#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/profile.h"

using namespace platform;

namespace {

class FilesContract : public ::testing::Test {
  protected:
    void SetUp() override { scratch_ = contract::PrepareMachine(); }

    std::string Path(const std::string& name) const { return scratch_ + "\\" + name; }
    std::string Read(const std::string& section, const std::string& key, const std::string& file,
                     std::uint32_t size = 2048) {
        std::string buffer(size, '\0');
        const auto n = GetPrivateProfileStringA(section, key, "dflt", buffer.data(), size, file);
        buffer.resize(n);
        return buffer;
    }

    std::string scratch_;
};

TEST_F(FilesContract, ProfileReadsTrimUnquoteAndIgnoreCase) {
    const std::string ini = Path("setup.ini");
    contract::WriteFile(ini,
                        "[Other]\r\nlanguage=xxx\r\n[Main]\r\n  Language  =  deu  \r\n"
                        "double=\"  quoted  \"\r\nsingle='x'\r\nmismatched=\"x'\r\nempty=\r\n");
    EXPECT_EQ(Read("main", "LANGUAGE", ini), "deu");
    EXPECT_EQ(Read("Main", "double", ini), "  quoted  ");
    EXPECT_EQ(Read("Main", "single", ini), "x");
    EXPECT_EQ(Read("Main", "mismatched", ini), "\"x'");
    EXPECT_EQ(Read("Main", "empty", ini), "") << "present but empty is not the default";
    EXPECT_EQ(Read("Main", "absent", ini), "dflt");
    EXPECT_EQ(Read("Nowhere", "language", ini), "dflt");
    EXPECT_EQ(Read("Main", "language", Path("missing.ini")), "dflt");
}

TEST_F(FilesContract, ProfileReadsAreCutToTheBuffer) {
    const std::string ini = Path("long.ini");
    contract::WriteFile(ini, "[Main]\r\nlong=" + std::string(3000, 'a') + "\r\n");
    EXPECT_EQ(Read("Main", "long", ini), std::string(2047, 'a'));
}

TEST_F(FilesContract, ProfileWritesCreateAndReplaceInPlace) {
    const std::string ini = Path("setup.ini");
    ASSERT_TRUE(WritePrivateProfileStringA("Main", "wasfirstrun", "1", ini));
    ASSERT_TRUE(WritePrivateProfileStringA("Main", "language", "eng", ini));
    ASSERT_TRUE(WritePrivateProfileStringA("MAIN", "WasFirstRun", "0", ini));
    ASSERT_TRUE(WritePrivateProfileStringA("Lang_eng", "key", "", ini));
    EXPECT_EQ(Read("Main", "wasfirstrun", ini), "0");
    EXPECT_EQ(Read("Main", "language", ini), "eng");
    EXPECT_EQ(Read("Lang_eng", "key", ini), "");
    const std::string bytes = contract::ReadFile(ini);
    EXPECT_EQ(bytes.find("asFirstRun=0"), bytes.rfind("asFirstRun=0")) << "the key stands once:\n"
                                                                       << bytes;
    EXPECT_EQ(bytes.find("=1"), std::string::npos) << bytes;

    EXPECT_FALSE(WritePrivateProfileStringA("Main", "k", "v", Path("no folder\\setup.ini")));
    EXPECT_EQ(contract::ReadFile(Path("no folder\\setup.ini")), "<none>");
}

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
