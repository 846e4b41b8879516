// The registry backup before a repair: one REG EXPORT per registry record into the backup
// folder, all started before any is waited for, and the user asked when one of them failed.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/item.h"
#include "platform/errors.h"
#include "platform/registry.h"
#include "repair/backup.h"
#include "support/sandbox_test.h"
#include "ui/interaction.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

constexpr const char* kProgramFolder = "C:\\Program Files\\Tallowquince Purgelint";
constexpr const char* kShortBackup = "C:\\PROGRA~1\\TALLOW~1\\backup\\";
constexpr const char* kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kFonts = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class Backup : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        colProblems = ProblemCollection();
        sandbox::SetApplication(kProgramFolder, "");
        sandbox::MakeFolder(kProgramFolder);
        sandbox::SetLocalTime(2026, 12, 7, 9, 5, 3);
        sandbox::SetString(kHkeyLocalMachine, std::string(kAppPaths) + "\\tool.exe", "",
                           "C:\\Tools\\tool.exe");
        sandbox::SetString(kHkeyLocalMachine, std::string(kAppPaths) + "\\tool.exe", "Path",
                           "C:\\Tools");
        sandbox::SetString(kHkeyLocalMachine, kFonts, "Gone (TrueType)", "gone.ttf");
        sandbox::SetString(kHkeyLocalMachine, std::string(kUninstall) + "\\App", "UninstallString",
                           "C:\\App\\remove.exe");
    }
    void TearDown() override {
        colProblems = ProblemCollection();
        SandboxTest::TearDown();
    }

    static void AddRegistry(platform::RootKey root, const std::string& key) {
        auto item = std::make_shared<clsItem>();
        item->pType(kTypeRegistry);
        item->pCureKeyRoot = root;
        item->pCureKeyName = key;
        item->pName(key);
        AddItem(item);
    }
    static void AddShortcut(const std::string& name) {
        auto item = std::make_shared<clsItem>();
        item->pType(kTypeShortcut);
        item->pName(name);
        AddItem(item);
    }
    // Three registry records between two shortcuts.
    static void ThreeRegistryRecords() {
        AddRegistry(kHkeyLocalMachine, std::string(kAppPaths) + "\\tool.exe");
        AddShortcut("C:\\Desktop\\Gone.lnk");
        AddRegistry(kHkeyLocalMachine, kFonts);
        AddShortcut("C:\\Desktop\\Old.lnk");
        AddRegistry(kHkeyLocalMachine, std::string(kUninstall) + "\\App");
    }
    static std::string Command(const std::string& key, int counter) {
        return "REG EXPORT \"" + key + "\" \"" + kShortBackup + "261207-090503-" +
               std::to_string(counter) + ".reg\" /y";
    }
    static std::string Exported(int counter) {
        return sandbox::ReadFile(std::string(kProgramFolder) + "\\backup\\261207-090503-" +
                                 std::to_string(counter) + ".reg")
            .value_or("<none>");
    }
    static std::string Log() {
        return sandbox::ReadFile(std::string(kProgramFolder) + "\\log.txt").value_or("");
    }
    // Outcomes by the export's counter; the others run the REG stand-in.
    static void Outcome(int counter, sandbox::ProcessOutcome outcome) {
        const std::string file = "-" + std::to_string(counter) + ".reg\"";
        sandbox::OnProcessStart([file, outcome](const std::string& commandLine) {
            return commandLine.find(file) != std::string::npos ? outcome
                                                               : sandbox::RunRegTool(commandLine);
        });
    }
};

TEST_F(Backup, ExportsEveryRegistryRecordIntoTheNewBackupFolderUnderOneStamp) {
    ThreeRegistryRecords();
    sandbox::OnProcessStart([](const std::string& commandLine) {
        sandbox::SetLocalTime(2026, 12, 7, 9, 5, 4);  // the clock moves on while they start
        return sandbox::RunRegTool(commandLine);
    });
    EXPECT_TRUE(Backupregistry());
    EXPECT_EQ(sandbox::StartedProcesses(),
              (std::vector<std::string>{
                  Command("HKLM\\" + std::string(kAppPaths) + "\\tool.exe", 1),
                  Command("HKLM\\" + std::string(kFonts), 2),
                  Command("HKLM\\" + std::string(kUninstall) + "\\App", 3),
              }));
    EXPECT_EQ(Exported(1),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\"
              "tool.exe]\r\n"
              "@=\"C:\\\\Tools\\\\tool.exe\"\r\n"
              "\"Path\"=\"C:\\\\Tools\"\r\n\r\n");
    EXPECT_NE(Exported(2).find("\"Gone (TrueType)\"=\"gone.ttf\""), std::string::npos);
    EXPECT_NE(Exported(3).find("\"UninstallString\"=\"C:\\\\App\\\\remove.exe\""),
              std::string::npos);
    EXPECT_EQ(sandbox::RunningProcesses(), 0u);
    EXPECT_TRUE(sandbox::MessageBoxes().empty());
    EXPECT_EQ(Log(), "");
}

TEST_F(Backup, ASecondBackupInTheSameSecondOverwritesTheFirstsFiles) {
    AddRegistry(kHkeyLocalMachine, kFonts);
    EXPECT_TRUE(Backupregistry());
    sandbox::SetString(kHkeyLocalMachine, kFonts, "Newer (TrueType)", "newer.ttf");
    EXPECT_TRUE(Backupregistry());
    EXPECT_NE(Exported(1).find("newer.ttf"), std::string::npos) << Exported(1);
    EXPECT_TRUE(sandbox::MessageBoxes().empty());
}

TEST_F(Backup, WithoutRegistryRecordsNothingStarts) {
    AddShortcut("C:\\Desktop\\Gone.lnk");
    EXPECT_TRUE(Backupregistry());
    EXPECT_TRUE(sandbox::StartedProcesses().empty());
    EXPECT_TRUE(sandbox::MessageBoxes().empty());
}

// Each way an export can fail, answered both ways: Yes repairs without a complete backup,
// No stops the repair. The exports around the failed one are still made.
struct Failure {
    const char* name;
    sandbox::ProcessOutcome outcome;  // of the second export
    std::string logLine;
    size_t started;      // commands started
    long long waitedMs;  // virtual time spent waiting
};

class BackupFailure : public Backup,
                      public ::testing::WithParamInterface<std::tuple<Failure, int>> {};

TEST_P(BackupFailure, IsLoggedAndTheUserDecides) {
    const auto& [failure, answer] = GetParam();
    ThreeRegistryRecords();
    Outcome(2, failure.outcome);
    sandbox::AnswerMessageBox(answer);

    EXPECT_EQ(Backupregistry(), answer == ui::vbYes);
    EXPECT_EQ(sandbox::StartedProcesses().size(), failure.started);
    EXPECT_NE(Exported(1), "<none>") << "an export started before the failure is kept";
    EXPECT_EQ(Exported(3) != "<none>", failure.started == 3);
    EXPECT_EQ(sandbox::RunningProcesses(), 0u) << "none is left running";
    EXPECT_EQ(sandbox::VirtualTime(), failure.waitedMs);
    EXPECT_EQ(Log(), "Error: Backupregistry: " + failure.logLine + " (exporting HKLM\\" + kFonts +
                         " to " + kShortBackup + "261207-090503-2.reg)\r\n");
    ASSERT_EQ(sandbox::MessageBoxes().size(), 1u);
    const auto& asked = sandbox::MessageBoxes()[0];
    EXPECT_EQ(asked.text,
              "The registry could not be backed up completely (see log.txt).\r\n"
              "Repair anyway, without a complete backup?");
    EXPECT_EQ(asked.caption, "Warning");
    EXPECT_EQ(asked.type, ui::vbYesNo | ui::vbExclamation);
}

INSTANTIATE_TEST_SUITE_P(
    Exports, BackupFailure,
    ::testing::Combine(
        ::testing::Values(
            Failure{"NonZeroExitCode", sandbox::ProcessOutcome::EndsWith(1),
                    "1: REG EXPORT ended with this exit code", 3, 0},
            Failure{"FailedStart",
                    sandbox::ProcessOutcome::FailsToStart(platform::kErrorAccessDenied),
                    "5: Access is denied.", 2, 0},
            Failure{"NeverEnds", sandbox::ProcessOutcome::NeverEnds(),
                    "258: REG EXPORT did not end within a minute and was stopped", 3, 60'000}),
        ::testing::Values(ui::vbYes, ui::vbNo)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == ui::vbYes ? "Yes" : "No");
    });

// The stand-in fails as the real tool does: a key that is gone by the time of the backup.
TEST_F(Backup, AKeyGoneBeforeItsExportFailsItAndNoEndsTheRepair) {
    AddRegistry(kHkeyCurrentUser, std::string(kRun) + "\\Gone");
    sandbox::AnswerMessageBox(ui::vbNo);
    EXPECT_FALSE(Backupregistry());
    EXPECT_EQ(Log(),
              "Error: Backupregistry: 1: REG EXPORT ended with this exit code (exporting "
              "HKCU\\" +
                  std::string(kRun) + "\\Gone to " + kShortBackup + "261207-090503-1.reg)\r\n");
}

}  // namespace
