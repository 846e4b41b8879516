// Starting programs and waiting for them, on either backend: the REG tool's export (the
// real reg.exe under Wine, the stand-in on the sandbox), a missing program, and a program
// that has to be ended.
#include <gtest/gtest.h>

#include <string>

#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/run_to_end.h"

using namespace platform;

namespace {

constexpr std::uint32_t kStillActive = 259;

class ProcessContract : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = contract::PrepareMachine() + "\\Backup Folder";
        contract::MakeFolder(folder_);
        RegKey key;
        ASSERT_EQ(CreateKey(contract::kScratchRoot, Key("App Paths\\tool.exe"), kKeyAllAccess, key),
                  kErrorSuccess);
        const std::string tool = "C:\\Tool\\tool.exe";
        ASSERT_EQ(SetValue(key, "", kRegSz, tool.c_str(), tool.size() + 1), kErrorSuccess);
    }
    void TearDown() override { DeleteKeyTree(contract::kScratchRoot, contract::kScratchKey); }

    static std::string Key(const std::string& below) {
        return std::string(contract::kScratchKey) + "\\" + below;
    }
    // "HKCU\Software\...\<below>", as REG takes it.
    static std::string RegKeyArgument(const std::string& below) {
        return std::string(RootKeyName(contract::kScratchRoot)) + "\\" + Key(below);
    }
    // The file's text: the real tool writes UTF-16, whose ASCII reads back byte by byte.
    static std::string Text(const std::string& path) {
        const std::string bytes = contract::ReadFile(path);
        if (bytes.rfind("\xFF\xFE", 0) != 0) return bytes;
        std::string text;
        for (size_t i = 2; i < bytes.size(); i += 2)
            text += bytes[i];
        return text;
    }

    std::string folder_;
};

TEST_F(ProcessContract, RegExportsAQuotedKeyWithABlankOverAnExistingFile) {
    const std::string file = folder_ + "\\App Paths 1.reg";
    contract::WriteFile(file, "an older export");
    EXPECT_EQ(RunToEnd("REG EXPORT \"" + RegKeyArgument("App Paths") + "\" \"" + file + "\" /y"),
              "exit 0");
    const std::string text = Text(file);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\" + Key("App Paths\\tool.exe") +
                        "]\r\n"
                        "@=\"C:\\\\Tool\\\\tool.exe\"\r\n"),
              std::string::npos)
        << text;
}

TEST_F(ProcessContract, RegFailsForAMissingKeyABlankThatSplitsTheKeyAndAMissingFolder) {
    const std::string file = folder_ + "\\export.reg";
    EXPECT_NE(RunToEnd("REG EXPORT \"" + RegKeyArgument("No Such Key") + "\" \"" + file + "\" /y"),
              "exit 0");
    EXPECT_NE(RunToEnd("REG EXPORT " + RegKeyArgument("App Paths") + " \"" + file + "\" /y"),
              "exit 0")
        << "unquoted, the key reaches REG as two arguments";
    EXPECT_NE(RunToEnd("REG EXPORT \"" + RegKeyArgument("App Paths") + "\" \"" + folder_ +
                       "\\missing\\export.reg\" /y"),
              "exit 0")
        << "into a missing folder";
    EXPECT_EQ(contract::ReadFile(file), "<none>");
}

// The backup makes its folder before the exports write into it.
TEST_F(ProcessContract, AFolderIsMadeOnceAndOnlyBelowAnExistingOne) {
    const std::string folder = folder_ + "\\backup";
    EXPECT_EQ(MakeDirectory(folder), kErrorSuccess);
    EXPECT_EQ(GetAttributes(folder) & kFileAttributeDirectory, kFileAttributeDirectory);
    EXPECT_EQ(MakeDirectory(folder), kErrorAlreadyExists);
    EXPECT_EQ(MakeDirectory(folder_ + "\\missing\\backup"), kErrorPathNotFound);
}

TEST_F(ProcessContract, AMissingProgramDoesNotStart) {
    ProcessHandle process;
    EXPECT_EQ(StartProcess("\"" + folder_ + "\\no such program.exe\" /y", process),
              kErrorFileNotFound);
    EXPECT_FALSE(process.is_valid());
}

TEST_F(ProcessContract, AProgramStillRunningTimesOutUntilItIsEnded) {
    ProcessHandle process;
    ASSERT_EQ(StartProcess(contract::CommandThatKeepsRunning(), process), kErrorSuccess);
    EXPECT_EQ(WaitForSingleObject(process, 300), kWaitTimeout);
    std::uint32_t code = 0;
    EXPECT_TRUE(GetExitCodeProcess(process, code));
    EXPECT_EQ(code, kStillActive);

    EXPECT_TRUE(TerminateProcess(process, 1));
    EXPECT_EQ(WaitForSingleObject(process, 10'000), kWaitObject0);
    EXPECT_TRUE(GetExitCodeProcess(process, code));
    EXPECT_EQ(code, 1u);
}

}  // namespace
