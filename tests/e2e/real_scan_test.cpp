// The scanners on a real (Wine) machine: registry entries written with the real API,
// shortcuts made by the shell's own link object, old files dated with SetFileTime, hidden
// and system attributes set for real, and symbolic links that lead out of the temporary
// folder and back into it (made by real_scan_test.sh, since Wine cannot make them itself).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "model/item.h"
#include "platform/com.h"
#include "platform/contract_machine.h"
#include "platform/filesystem.h"
#include "platform/registry.h"
#include "scan/progress_window.h"
#include "scan/scanners.h"
#include "scan/shortcut.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::string kRoot = "C:\\PurgelintScanTest";
const std::string kMarker = "PurgelintScanTest";

// A record as the scan leaves it, in one line for readable failures.
std::string Describe(const clsItem& item) {
    return std::to_string(item.pType()) + "|" + std::to_string(item.pSTATUS) + "|" + item.pName() +
           "|" + item.pCureKeyValueName + "|" + item.pCureMissingfile + "|" +
           std::to_string(item.pCureMethod);
}

// The records of this test's own entries, in scan order; a prefix's own entries are not ours.
std::vector<std::string> OurRecords() {
    std::vector<std::string> records;
    for (const auto& item : colProblems)
        if (Describe(*item).find(kMarker) != std::string::npos) records.push_back(Describe(*item));
    return records;
}

void SetString(platform::RootKey root, const std::string& key, const std::string& name,
               const std::string& text) {
    platform::RegKey opened;
    ASSERT_EQ(platform::CreateKey(root, key, platform::kKeyAllAccess, opened), 0) << key;
    ASSERT_EQ(platform::SetValue(opened, name, platform::kRegSz, text.c_str(),
                                 static_cast<std::uint32_t>(text.size() + 1)),
              0)
        << key << "\\" << name;
}

void DeleteValue(platform::RootKey root, const std::string& key, const std::string& name) {
    platform::RegKey opened;
    if (platform::OpenKey(root, key, 0, platform::kKeyAllAccess, opened) == 0)
        platform::DeleteValue(opened, name);
}

class RealScan : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { static platform::ComApartment apartment; }
    void SetUp() override {
        colProblems = ProblemCollection();
        bScanRunning = true;
    }
    void TearDown() override { bScanRunning = false; }
};

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kFonts = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const std::string kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const std::string kHelp = "Software\\Microsoft\\Windows\\Help";

TEST_F(RealScan, RegistryListsReportExactlyTheEntriesNamingMissingFiles) {
    const std::string app = kRoot + "\\App";
    contract::MakeFolder(app);
    contract::WriteFile(app + "\\app.exe", "MZ");
    const std::string gone = kRoot + "\\Gone";
    const std::string uninstall = kUninstall + "\\" + kMarker;
    const std::string appPaths = kAppPaths + "\\" + kMarker + ".exe";
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyLocalMachine, uninstall, "UninstallString",
                                      "\"" + gone + "\\uninst.exe\" /S"));
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyLocalMachine, uninstall + "\\Nested", "UninstallString",
                                      "MsiExec.exe /X{1234}"));
    ASSERT_NO_FATAL_FAILURE(
        SetString(kHkeyLocalMachine, kRun, kMarker + "Alive", app + "\\app.exe /min"));
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyCurrentUser, kRun, kMarker, gone + "\\tool.exe -x"));
    ASSERT_NO_FATAL_FAILURE(
        SetString(kHkeyLocalMachine, kFonts, kMarker + " (TrueType)", gone + "\\font.ttf"));
    ASSERT_NO_FATAL_FAILURE(
        SetString(kHkeyLocalMachine, kFonts, kMarker + " Bare", kMarker + "bare.ttf"));
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyLocalMachine, kSharedDlls, gone + "\\shared.dll", ""));
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyLocalMachine, appPaths, "", gone + "\\app.exe"));
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyLocalMachine, kHelp, kMarker + ".hlp", gone + "\\"));

    ScanRegistrySubkeys(kHkeyLocalMachine, kUninstall, true, "UninstallString",
                        kStatusWrongUninstall);
    ScanRegistryValues(kHkeyLocalMachine, kRun, true);
    ScanRegistryValues(kHkeyCurrentUser, kRun, true);
    ScanRegistryValues(kHkeyLocalMachine, kFonts, true);
    ScanRegistryValues(kHkeyLocalMachine, kSharedDlls, false);
    ScanRegistrySubkeys(kHkeyLocalMachine, kAppPaths, true, "", kStatusBrokenLink);
    ScanHelpFiles(kHkeyLocalMachine, kHelp);

    EXPECT_EQ(
        OurRecords(),
        (std::vector<std::string>{
            "0|2|HKLM\\" + uninstall + "|UninstallString|" + gone + "\\uninst.exe|0",
            "0|0|HKCU\\" + kRun + "\\" + kMarker + "|" + kMarker + "|" + gone + "\\tool.exe -x|0",
            "0|0|HKLM\\" + kFonts + "\\" + kMarker + " (TrueType)|" + kMarker + " (TrueType)|" +
                gone + "\\font.ttf|0",
            "0|0|HKLM\\" + kSharedDlls + "|" + gone + "\\shared.dll|" + gone + "\\shared.dll|0",
            "0|0|HKLM\\" + appPaths + "||" + gone + "\\app.exe|0",
            "0|3|HKLM\\" + kHelp + "\\" + kMarker + ".hlp|" + kMarker + ".hlp|" + gone + "\\\\" +
                kMarker + ".hlp|1",
        }));
    // The machine's own entries: a fresh prefix names no missing file.
    EXPECT_EQ(static_cast<size_t>(colProblems.Count()), OurRecords().size());

    platform::DeleteKeyTree(kHkeyLocalMachine, uninstall);
    platform::DeleteKeyTree(kHkeyLocalMachine, appPaths);
    DeleteValue(kHkeyLocalMachine, kRun, kMarker + "Alive");
    DeleteValue(kHkeyCurrentUser, kRun, kMarker);
    DeleteValue(kHkeyLocalMachine, kFonts, kMarker + " (TrueType)");
    DeleteValue(kHkeyLocalMachine, kFonts, kMarker + " Bare");
    DeleteValue(kHkeyLocalMachine, kSharedDlls, gone + "\\shared.dll");
    DeleteValue(kHkeyLocalMachine, kHelp, kMarker + ".hlp");
}

TEST_F(RealScan, ShortcutsMadeByTheShellAreReadCheckedAndRepointed) {
    const std::string desktop = kRoot + "\\Desktop";
    const std::string app = kRoot + "\\App";
    contract::MakeFolder(desktop + "\\Games");
    contract::MakeFolder(app);
    contract::WriteFile(app + "\\app.exe", "MZ");
    contract::Shortcut link;
    link.path = app + "\\app.exe";
    contract::WriteShortcut(desktop + "\\Working.lnk", link);
    link.path = kRoot + "\\Gone\\game.exe";
    link.arguments = "-fullscreen";
    link.description = "The game";
    contract::WriteShortcut(desktop + "\\Games\\Game.LNK", link);

    ScanShortcuts(desktop);
    const std::string broken = desktop + "\\Games\\Game.LNK";
    ASSERT_EQ(OurRecords(),
              std::vector<std::string>{"1|0|" + broken + "||" + kRoot + "\\Gone\\game.exe|0"});
    EXPECT_EQ(colProblems.Item(1)->pDescription,
              "Links to nonexisting file " + kRoot + "\\Gone\\game.exe -fullscreen");

    std::string target, description, arguments, iconPath, folder;
    std::uint16_t hotkey = 0;
    long iconIndex = 0, showCommand = 0;
    ASSERT_EQ(GetShortcutInfo(broken, target, description, arguments, hotkey, iconPath, iconIndex,
                              folder, showCommand),
              0);
    EXPECT_EQ(description, "The game");
    EXPECT_EQ(arguments, "-fullscreen");

    ASSERT_TRUE(ShortcutRepairDest(broken, app + "\\app.exe"));
    colProblems = ProblemCollection();
    ScanShortcuts(desktop);
    EXPECT_EQ(colProblems.Count(), 0) << "the re-pointed shortcut names a file that exists";
    ASSERT_EQ(GetShortcutInfo(broken, target, description, arguments, hotkey, iconPath, iconIndex,
                              folder, showCommand),
              0);
    EXPECT_EQ(target, app + "\\app.exe");
    EXPECT_EQ(arguments, "-fullscreen") << "only the target changes";
}

// Names that the ANSI code page cannot hold, each beside the working twin that the code page
// would turn it into ("Omega" for "Ωmega", "???" for "日本語"): every list reports the true
// names, and never a twin.
TEST_F(RealScan, NamesOutsideTheCodePageAreReportedAsThemselves) {
    const std::string app = kRoot + "\\App";
    contract::MakeFolder(app);
    contract::WriteFile(app + "\\app.exe", "MZ");
    const std::string gone = kRoot + "\\Gone";
    const std::string omega = kMarker + "Ωmega", japanese = kMarker + "日本語";
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyCurrentUser, kRun, omega, gone + "\\Ωmega.exe"));
    ASSERT_NO_FATAL_FAILURE(
        SetString(kHkeyCurrentUser, kRun, kMarker + "Omega", app + "\\app.exe"));
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyCurrentUser, kRun, japanese, gone + "\\日本語.exe"));
    ASSERT_NO_FATAL_FAILURE(SetString(kHkeyCurrentUser, kRun, kMarker + "???", app + "\\app.exe"));
    ScanRegistryValues(kHkeyCurrentUser, kRun, true);
    for (const std::string& name : {omega, kMarker + "Omega", japanese, kMarker + "???"})
        DeleteValue(kHkeyCurrentUser, kRun, name);
    std::vector<std::string> records = OurRecords();
    std::sort(records.begin(), records.end());
    EXPECT_EQ(
        records,
        (std::vector<std::string>{
            "0|0|HKCU\\" + kRun + "\\" + omega + "|" + omega + "|" + gone + "\\Ωmega.exe|0",
            "0|0|HKCU\\" + kRun + "\\" + japanese + "|" + japanese + "|" + gone + "\\日本語.exe|0",
        }));

    colProblems = ProblemCollection();
    const std::string desktop = kRoot + "\\Desktop Ω";
    contract::MakeFolder(desktop);
    contract::Shortcut link;
    link.path = gone + "\\ツール\\tool.exe";
    link.description = "ツール";
    contract::WriteShortcut(desktop + "\\壊れた.lnk", link);
    link.path = app + "\\app.exe";
    contract::WriteShortcut(desktop + "\\Omega.lnk", link);
    // A working shortcut whose target's name the code page cannot hold: not reported.
    const std::string unicodeApp = kRoot + "\\App Ω";
    contract::MakeFolder(unicodeApp);
    contract::WriteFile(unicodeApp + "\\ツール.exe", "MZ");
    link.path = unicodeApp + "\\ツール.exe";
    contract::WriteShortcut(desktop + "\\動く.lnk", link);
    ScanShortcuts(desktop);
    EXPECT_EQ(OurRecords(), std::vector<std::string>{"1|0|" + desktop + "\\壊れた.lnk||" + gone +
                                                     "\\ツール\\tool.exe|0"});

    colProblems = ProblemCollection();
    const std::string temp = kRoot + "\\一時";
    const platform::SystemTime old{2024, 1, 0, 15, 12, 30, 0, 0};
    const platform::SystemTime recent{2026, 11, 0, 1, 9, 0, 0, 0};
    contract::MakeFolder(temp);
    for (const char* name : {"Ωmega.tmp", "旧いファイル.tmp", "Omega.tmp"}) {
        contract::WriteFile(temp + "\\" + name, "x");
        contract::SetLastWriteTimeUtc(temp + "\\" + name, name[0] == 'O' ? recent : old);
    }
    std::string folder = temp;
    ScanTempFiles(folder);
    records = OurRecords();
    std::sort(records.begin(), records.end());
    EXPECT_EQ(records, (std::vector<std::string>{"2|1|" + temp + "\\Ωmega.tmp|||0",
                                                 "2|1|" + temp + "\\旧いファイル.tmp|||0"}));
}

// real_scan_test.sh made Temp\escape and Temp\far, links to the folder Outside with an old
// file in it, and Temp\Sub\again and Temp\Sub\loop, links back to Temp.
TEST_F(RealScan, TemporaryFilesAreJudgedByDateAndAttributesWithoutFollowingLinks) {
    const std::string temp = kRoot + "\\Temp";
    ASSERT_NE(platform::GetAttributes(temp + "\\escape\\far.tmp"), platform::kInvalidFileAttributes)
        << "the links are made by real_scan_test.sh";
    const platform::SystemTime old{2024, 1, 0, 15, 12, 30, 0, 0};
    const platform::SystemTime recent{2026, 11, 0, 1, 9, 0, 0, 0};
    for (const char* name : {"old.tmp", "hidden.tmp", "system.tmp", "Sub\\deep.tmp"}) {
        contract::WriteFile(temp + "\\" + name, "x");
        contract::SetLastWriteTimeUtc(temp + "\\" + name, old);
    }
    contract::WriteFile(temp + "\\new.tmp", "x");
    contract::SetLastWriteTimeUtc(temp + "\\new.tmp", recent);
    contract::SetAttributes(temp + "\\hidden.tmp",
                            platform::kFileAttributeHidden | platform::kFileAttributeReadOnly);
    contract::SetAttributes(temp + "\\system.tmp", platform::kFileAttributeSystem);

    std::string folder = temp + "\\";
    ScanTempFiles(folder);
    EXPECT_EQ(folder, temp) << "the trailing backslash goes";

    std::vector<std::string> records = OurRecords();
    ASSERT_EQ(records.size(), 3u) << ::testing::PrintToString(records);
    // Wine lists a folder in the host's order: the folder's own files come first, in any
    // order, then its subfolder's.
    EXPECT_EQ(records[2], "2|1|" + temp + "\\Sub\\deep.tmp|||0");
    records.pop_back();
    std::sort(records.begin(), records.end());
    EXPECT_EQ(records, (std::vector<std::string>{"2|1|" + temp + "\\hidden.tmp|||0",
                                                 "2|1|" + temp + "\\old.tmp|||0"}));
    for (const auto& item : colProblems)
        EXPECT_EQ(item->pDescription.rfind("File in temporary folder, last used ", 0), 0u);
}

}  // namespace
