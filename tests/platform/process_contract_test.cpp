// Starting programs and waiting for them as the registry backup does: REG EXPORT (the real
// reg.exe under Wine, the stand-in on the sandbox), and one that has to be ended.
#include "platform/contract_scratch.h"
#include "platform/filesystem.h"
#include "platform/process.h"

using namespace platform;
using namespace std::string_literals;

namespace {

class ProcessContract : public contract::Scratch {
  protected:
    void SetUp() override {
        Scratch::SetUp();
        contract::MakeFolder(folder_ = Path("Backup Folder"));
        ASSERT_EQ(SetValue(Create("App Paths\\tool.exe"), "", kRegSz, "C:\\Tool\\tool.exe", 17),
                  kErrorSuccess);
    }

    // The backup's command for "HKCU\<scratch key>\<below>": "exit <code>" once it has ended,
    // "start error <code>", or "wait <result>" when it still ran after a minute (then ended).
    std::string Export(const std::string& below, const std::string& file) {
        const std::string key = "HKCU\\"s + contract::kScratchKey + "\\" + below;
        ProcessHandle process;
        std::uint32_t code = 0;
        if (const long error = StartProcess(
                "REG EXPORT \"" + key + "\" \"" + folder_ + "\\" + file + "\" /y", process))
            return "start error " + std::to_string(error);
        if (const auto wait = WaitForSingleObject(process, 60'000); wait != kWaitObject0) {
            TerminateProcess(process, 1);
            return "wait " + std::to_string(wait);
        }
        return GetExitCodeProcess(process, code) ? "exit " + std::to_string(code) : "no exit code";
    }
    // The real tool writes UTF-16, whose ASCII reads back byte by byte.
    std::string Text(const std::string& file) {
        std::string bytes = contract::ReadFile(folder_ + "\\" + file), text;
        for (std::size_t i = 2; bytes.starts_with("\xFF\xFE") && i < bytes.size(); i += 2)
            text += bytes[i];
        return bytes.starts_with("\xFF\xFE") ? text : bytes;
    }

    std::string folder_;
};

// Missing keys and folders fail; the folder once made takes the export, over an older file.
TEST_F(ProcessContract, RegExportsAQuotedKeyOnceItsFolderIsMadeAndARunningProgramWaits) {
    EXPECT_NE(Export("No Such Key", "export.reg"), "exit 0");
    EXPECT_NE(Export("App Paths", "backup\\export.reg"), "exit 0");
    EXPECT_EQ(Text("export.reg") + Text("backup\\export.reg"), "<none><none>");
    EXPECT_EQ(MakeDirectory(folder_ + "\\backup"), kErrorSuccess);
    EXPECT_EQ(MakeDirectory(folder_ + "\\backup"), kErrorAlreadyExists);
    EXPECT_EQ(Export("App Paths", "backup\\export.reg"), "exit 0");

    contract::WriteFile(folder_ + "\\App Paths 1.reg", "an older export");
    EXPECT_EQ(Export("App Paths", "App Paths 1.reg"), "exit 0");
    const std::string text = Text("App Paths 1.reg");
    EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\r\n")) << text;
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\"s + contract::kScratchKey + "\\App Paths\\tool.exe"s +
                        "]\r\n@=\"C:\\\\Tool\\\\tool.exe\"\r\n"),
              std::string::npos)
        << text;

    ProcessHandle process;
    ASSERT_EQ(StartProcess(contract::CommandThatKeepsRunning(), process), kErrorSuccess);
    std::uint32_t code = 0;
    EXPECT_EQ(WaitForSingleObject(process, 300), kWaitTimeout);
    EXPECT_TRUE(GetExitCodeProcess(process, code));
    EXPECT_EQ(code, 259u) << "STILL_ACTIVE";
    EXPECT_TRUE(TerminateProcess(process, 1));
    EXPECT_EQ(WaitForSingleObject(process, 10'000), kWaitObject0);
    EXPECT_TRUE(GetExitCodeProcess(process, code));
    EXPECT_EQ(code, 1u);
}

}  // namespace
