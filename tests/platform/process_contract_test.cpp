// Starting programs and waiting for them, on either backend: REG EXPORT (the real reg.exe
// under Wine, the stand-in on the sandbox), a missing program, and one that has to be ended.
#include <gtest/gtest.h>

#include <string>

#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/process.h"
#include "platform/registry.h"

using namespace platform;

namespace {

constexpr std::uint32_t kStillActive = 259;

// "exit <code>" once the process has ended, or how it went wrong: "start error <code>", or
// "wait <result>" when it was still running after a minute (it is then ended).
std::string RunToEnd(const std::string& commandLine) {
    ProcessHandle process;
    std::uint32_t code = 0;
    if (const long error = StartProcess(commandLine, process); error != kErrorSuccess)
        return "start error " + std::to_string(error);
    if (const auto wait = WaitForSingleObject(process, 60'000); wait != kWaitObject0) {
        TerminateProcess(process, 1);
        return "wait " + std::to_string(wait);
    }
    return GetExitCodeProcess(process, code) ? "exit " + std::to_string(code) : "no exit code";
}

class ProcessContract : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = contract::PrepareMachine() + "\\Backup Folder";
        contract::MakeFolder(folder_);
        RegKey key;
        ASSERT_EQ(CreateKey(contract::kScratchRoot, Key("App Paths\\tool.exe"), kKeyAllAccess, key),
                  kErrorSuccess);
        ASSERT_EQ(SetValue(key, "", kRegSz, "C:\\Tool\\tool.exe", 17), kErrorSuccess);
    }
    void TearDown() override { DeleteKeyTree(contract::kScratchRoot, contract::kScratchKey); }

    static std::string Key(const std::string& below) {
        return std::string(contract::kScratchKey) + "\\" + below;
    }
    // REG EXPORT of "HKCU\<scratch key>\<below>" into `file`, the key quoted or not.
    std::string Export(const std::string& below, const std::string& file, bool quoted = true) {
        const std::string key = RootKeyName(contract::kScratchRoot) + ("\\" + Key(below));
        const std::string q = quoted ? "\"" : "";
        return RunToEnd("REG EXPORT " + q + key + q + " \"" + folder_ + "\\" + file + "\" /y");
    }
    // The real tool writes UTF-16, whose ASCII reads back byte by byte.
    std::string Text(const std::string& file) {
        const std::string bytes = contract::ReadFile(folder_ + "\\" + file);
        if (!bytes.starts_with("\xFF\xFE")) return bytes;
        std::string text;
        for (std::size_t i = 2; i < bytes.size(); i += 2)
            text += bytes[i];
        return text;
    }

    std::string folder_;
};

TEST_F(ProcessContract, RegExportsAQuotedKeyWithABlankOverAnExistingFile) {
    contract::WriteFile(folder_ + "\\App Paths 1.reg", "an older export");
    EXPECT_EQ(Export("App Paths", "App Paths 1.reg"), "exit 0");
    const std::string text = Text("App Paths 1.reg");
    EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\r\n")) << text;
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\" + Key("App Paths\\tool.exe") +
                        "]\r\n@=\"C:\\\\Tool\\\\tool.exe\"\r\n"),
              std::string::npos)
        << text;
}

TEST_F(ProcessContract,
       RegFailsForAMissingKeyABlankThatSplitsTheKeyAndAMissingFolderUntilOneIsMade) {
    EXPECT_NE(Export("No Such Key", "export.reg"), "exit 0");
    EXPECT_NE(Export("App Paths", "export.reg", false), "exit 0") << "unquoted: two arguments";
    EXPECT_NE(Export("App Paths", "missing\\export.reg"), "exit 0");
    EXPECT_EQ(Text("export.reg"), "<none>");
    // The backup makes its folder before the exports write into it.
    EXPECT_EQ(MakeDirectory(folder_ + "\\backup"), kErrorSuccess);
    EXPECT_EQ(GetAttributes(folder_ + "\\backup") & kFileAttributeDirectory,
              kFileAttributeDirectory);
    EXPECT_EQ(MakeDirectory(folder_ + "\\backup"), kErrorAlreadyExists);
    EXPECT_EQ(MakeDirectory(folder_ + "\\missing\\backup"), kErrorPathNotFound);
}

TEST_F(ProcessContract, AMissingProgramDoesNotStartAndARunningOneWaitsUntilEnded) {
    ProcessHandle process;
    EXPECT_EQ(StartProcess("\"" + folder_ + "\\no such program.exe\" /y", process),
              kErrorFileNotFound);
    EXPECT_FALSE(process.is_valid());

    ASSERT_EQ(StartProcess(contract::CommandThatKeepsRunning(), process), kErrorSuccess);
    std::uint32_t code = 0;
    EXPECT_EQ(WaitForSingleObject(process, 300), kWaitTimeout);
    EXPECT_TRUE(GetExitCodeProcess(process, code));
    EXPECT_EQ(code, kStillActive);
    EXPECT_TRUE(TerminateProcess(process, 1));
    EXPECT_EQ(WaitForSingleObject(process, 10'000), kWaitObject0);
    EXPECT_TRUE(GetExitCodeProcess(process, code));
    EXPECT_EQ(code, 1u);
}

}  // namespace
