// Starting programs and waiting for them as the registry backup does: REG EXPORT (the real
// reg.exe under Wine, the stand-in on the sandbox), and one that has to be ended.
#include "platform/contract_scratch.h"
#include "platform/filesystem.h"
#include "platform/process.h"
#include "repair/reg_file.h"

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

    // What `command` comes to: "start error <error>", or "wait <result> code <exit code>" once
    // it has ended or `ms` have passed; then, still running, it is terminated and waited for.
    static std::string Run(const std::string& command, std::uint32_t ms = 60'000) {
        ProcessHandle process;
        if (const long error = StartProcess(command, process))
            return "start error " + std::to_string(error);
        for (std::string trace;; ms = 10'000) {
            std::uint32_t code = 0;
            const auto wait = WaitForSingleObject(process, ms);
            trace += "wait " + std::to_string(wait) + " code " +
                     (GetExitCodeProcess(process, code) ? std::to_string(code) : "none");
            if (wait == kWaitObject0 || trace.find(',') != std::string::npos) return trace;
            trace += TerminateProcess(process, 1) ? ", terminated, " : ", not terminated, ";
        }
    }
    // The backup's command for "HKCU\<scratch key>\<below>".
    std::string Export(const std::string& below, const std::string& file) {
        return Run("REG EXPORT \"HKCU\\"s + contract::kScratchKey + "\\" + below + "\" \"" +
                   folder_ + "\\" + file + "\" /y");
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
    EXPECT_NE(Export("No Such Key", "export.reg"), "wait 0 code 0");
    EXPECT_NE(Export("App Paths", "backup\\export.reg"), "wait 0 code 0");
    EXPECT_EQ(Text("export.reg") + Text("backup\\export.reg"), "<none><none>");
    EXPECT_EQ(MakeDirectory(folder_ + "\\backup"), kErrorSuccess);
    EXPECT_EQ(MakeDirectory(folder_ + "\\backup"), kErrorAlreadyExists);
    EXPECT_EQ(Export("App Paths", "backup\\export.reg"), "wait 0 code 0");

    contract::WriteFile(folder_ + "\\App Paths 1.reg", "an older export");
    EXPECT_EQ(Export("App Paths", "App Paths 1.reg"), "wait 0 code 0");
    const std::string text = Text("App Paths 1.reg");
    EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\r\n")) << text;
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\"s + contract::kScratchKey + "\\App Paths\\tool.exe"s +
                        "]\r\n@=\"C:\\\\Tool\\\\tool.exe\"\r\n"),
              std::string::npos)
        << text;

    EXPECT_EQ(Run(contract::CommandThatKeepsRunning(), 300),
              "wait 258 code 259, terminated, wait 0 code 1")
        << "timed out, STILL_ACTIVE; ended with the code given";
}

// An undo reads each value back from the backup's export exactly as it was stored, whatever
// its type, name or length (long byte lists wrap onto further lines).
TEST_F(ProcessContract, AnExportGivesBackEachValueAsStored) {
    const std::pair<std::string, core::RegistryValue> rows[] = {
        {"Plain", {kRegSz, "C:\\Tool\\\"q\".exe\0"s}},
        {"", {kRegSz, "the default\0"s}},
        {"\u03A9mega", {kRegExpandSz, "%SystemRoot%\\\u03A9.dll\0"s}},
        {"Multi", {kRegMultiSz, "a\0b\0\0"s}},
        {"Number", {kRegDword, "\x2a\0\0\x80"s}},
        {"Long", {kRegBinary, std::string(100, '\xAB')}}};
    const RegKey key = Create("Exported");
    for (const auto& [name, value] : rows)
        ASSERT_EQ(SetValue(key, name, value.type, value.data.data(), value.data.size()),
                  kErrorSuccess);
    ASSERT_EQ(Export("Exported", "values.reg"), "wait 0 code 0");
    const std::string file = contract::ReadFile(folder_ + "\\values.reg");
    const std::string keyPath = contract::kScratchKey + "\\Exported"s;
    for (const auto& [name, value] : rows) {
        const auto read = repair::ExportedValue(file, kHkeyCurrentUser, keyPath, name);
        ASSERT_TRUE(read) << name;
        EXPECT_TRUE(core::SameRegistryValue(*read, value)) << name << ": " << read->data;
    }
    EXPECT_FALSE(repair::ExportedValue(file, kHkeyCurrentUser, keyPath, "Absent"));
    EXPECT_FALSE(repair::ExportedValue(file, kHkeyLocalMachine, keyPath, "Plain"));
}

}  // namespace
