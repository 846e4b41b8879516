// The registry scanners on the sandbox registry: which entries become problems, what each
// record holds, the order of the walk, the progress lines, and how a scan stops.
#include <functional>
#include <source_location>
#include <string>
#include <vector>

#include "core/registry_access.h"
#include "model/item.h"
#include "scan/command_line.h"
#include "scan/progress_window.h"
#include "scan/scanners.h"
#include "support/sandbox_test.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kFonts = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const std::string kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const std::string kHelp = "Software\\Microsoft\\Windows\\Help";

// What a registry record must hold; the kind, identity and description follow from it.
struct Expected {
    long status;
    std::string location;
    std::string keyPath;
    std::string valueName;
    std::string missingFile;
    long cureMethod = 0;
    platform::RootKey root = kHkeyLocalMachine;
};

class RegistryScan : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        colProblems = ProblemCollection();
        sWindowsFolder = "C:\\WINDOWS";
        sProgramFilesFolder = "C:\\Program Files";
        frmProgress = std::make_unique<ProgressForm>();
        frmProgress->Show();  // sets bScanRunning
        // Polled at every pending-events point of the scan: records each new progress line and
        // stops the scan once `stopWhen_` holds. It never becomes ready itself.
        sandbox::Script(
            "watch the progress line", [] {},
            [this] {
                if (!frmProgress) return false;
                const std::string line = frmProgress->lbl1.Caption();
                if (!line.empty() && (lines_.empty() || lines_.back() != line))
                    lines_.push_back(line);
                if (stopWhen_ && stopWhen_()) bScanRunning = false;
                return false;
            });
    }
    void TearDown() override {
        frmProgress.reset();
        bScanRunning = false;
        sWindowsFolder.clear();
        sProgramFilesFolder.clear();
        SandboxTest::TearDown();
    }

    static void ExpectRecords(const std::vector<Expected>& expected,
                              std::source_location where = std::source_location::current()) {
        ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()),
                                     "records checked here");
        ASSERT_EQ(colProblems.Count(), static_cast<int>(expected.size()));
        for (int i = 0; i < colProblems.Count(); ++i) {
            const clsItem& item = *colProblems.Item(i + 1);
            const Expected& e = expected[i];
            SCOPED_TRACE("record " + std::to_string(i + 1) + ": " + e.location);
            EXPECT_EQ(item.pType(), kTypeRegistry);
            EXPECT_EQ(item.pSTATUS, e.status);
            EXPECT_EQ(item.pName(), e.location);
            EXPECT_EQ(item.UID(), "registry_" + e.location + "_" + e.valueName) << "pKey";
            EXPECT_EQ(item.pDescription, "Links to nonexisting file " + e.missingFile);
            EXPECT_EQ(item.pCureKeyRoot, e.root);
            EXPECT_EQ(item.pCureKeyName, e.keyPath);
            EXPECT_EQ(item.pCureKeyValueName, e.valueName);
            EXPECT_EQ(item.pCureMissingfile, e.missingFile);
            EXPECT_EQ(item.pCureMethod, e.cureMethod);
            EXPECT_EQ(item.pCureFilename, "");
        }
    }
    // The progress lines shown, without the common "Scanning registry key " prefix.
    std::vector<std::string> Shown() const {
        const std::string prefix = "Scanning registry key ";
        std::vector<std::string> shown;
        for (const std::string& line : lines_)
            shown.push_back(line.rfind(prefix, 0) == 0 ? line.substr(prefix.size())
                                                       : "<no prefix> " + line);
        return shown;
    }
    static std::string Hklm(const std::string& path) { return "HKLM\\" + path; }
    static void Uninstall(const std::string& subkey, const std::string& command) {
        sandbox::SetString(kHkeyLocalMachine, kUninstall + "\\" + subkey, "UninstallString",
                           command);
    }

    std::vector<std::string> lines_;
    std::function<bool()> stopWhen_;
};

TEST_F(RegistryScan, UninstallEntriesNamingAMissingProgramAreReported) {
    sandbox::WriteFile("C:\\Present\\uninst.exe", "MZ");
    Uninstall("App", "\"C:\\Program Files\\App\\uninst.exe\" /S");
    Uninstall("Installer", "MsiExec.exe /X{6A4F1D12-0B51-4E3C-9A7D-2F0C41E5B8A3}");
    Uninstall("DllHost", "RunDll32.exe shell32.dll,Control_RunDLL x.cpl");
    Uninstall("Present", "C:\\Present\\uninst.exe /uninstall");
    Uninstall("Empty", "");
    sandbox::SetString(kHkeyLocalMachine, kUninstall + "\\NoString", "DisplayName", "Tool");
    Uninstall("NoString\\Nested", "C:\\Nested\\gone.exe");

    ScanRegistrySubkeys(kHkeyLocalMachine, kUninstall, true, "UninstallString",
                        kStatusWrongUninstall);

    const std::string app = kUninstall + "\\App";
    const std::string nested = kUninstall + "\\NoString\\Nested";
    ExpectRecords({
        {kStatusWrongUninstall, Hklm(app), app, "UninstallString",
         "C:\\Program Files\\App\\uninst.exe"},
        {kStatusWrongUninstall, Hklm(nested), nested, "UninstallString", "C:\\Nested\\gone.exe"},
    });
    // A subkey's progress line names it below its root, without the root's name.
    EXPECT_EQ(Shown(), (std::vector<std::string>{kUninstall + "\\App", kUninstall + "\\DllHost",
                                                 kUninstall + "\\Empty", kUninstall + "\\Installer",
                                                 kUninstall + "\\NoString",
                                                 kUninstall + "\\Present", nested}));
    EXPECT_TRUE(bScanRunning) << "the scanner does not end the scan";
}

TEST_F(RegistryScan, AllChildrenOfAKeyComeBeforeTheFirstChildsSubtree) {
    for (const char* subkey : {"A", "A\\A1", "A\\A1\\A1x", "A\\A2", "B", "B\\B1"})
        Uninstall(subkey, std::string("C:\\Gone\\") + subkey + ".exe");

    ScanRegistrySubkeys(kHkeyLocalMachine, kUninstall, true, "UninstallString",
                        kStatusWrongUninstall);

    std::vector<std::string> order;
    for (const auto& item : colProblems)
        order.push_back(item->pCureKeyName.substr(kUninstall.size() + 1));
    EXPECT_EQ(order, (std::vector<std::string>{"A", "B", "A\\A1", "A\\A2", "A\\A1\\A1x", "B\\B1"}));
    EXPECT_EQ(Shown().size(), 6u);

    colProblems = ProblemCollection();
    ScanRegistrySubkeys(kHkeyLocalMachine, kUninstall, false, "UninstallString",
                        kStatusWrongUninstall);
    ASSERT_EQ(colProblems.Count(), 2) << "without the recursive flag only the children";
    EXPECT_EQ(colProblems.Item(2)->pCureKeyName, kUninstall + "\\B");
}

TEST_F(RegistryScan, ApplicationPathsTestTheDefaultValue) {
    sandbox::WriteFile("C:\\Tools\\here.exe", "MZ");
    sandbox::SetString(kHkeyLocalMachine, kAppPaths + "\\gone.exe", "", "C:\\Tools\\gone.exe");
    sandbox::SetString(kHkeyLocalMachine, kAppPaths + "\\gone.exe", "Path", "C:\\Tools\\gone.exe");
    sandbox::SetString(kHkeyLocalMachine, kAppPaths + "\\here.exe", "", "C:\\Tools\\here.exe");
    sandbox::SetString(kHkeyLocalMachine, kAppPaths + "\\NoDefault", "Path", "C:\\Nowhere");
    sandbox::SetString(kHkeyLocalMachine, kAppPaths + "\\NoDefault\\deep.exe", "",
                       "%ProgramFiles%\\Deep\\deep.exe");

    ScanRegistrySubkeys(kHkeyLocalMachine, kAppPaths, true, "", kStatusBrokenLink);

    const std::string gone = kAppPaths + "\\gone.exe";
    const std::string deep = kAppPaths + "\\NoDefault\\deep.exe";
    ExpectRecords({
        {kStatusBrokenLink, Hklm(gone), gone, "", "C:\\Tools\\gone.exe"},
        {kStatusBrokenLink, Hklm(deep), deep, "", "C:\\Program Files\\Deep\\deep.exe"},
    });
}

TEST_F(RegistryScan, RunEntriesPassWhenTheProgramPartExists) {
    sandbox::WriteFile("C:\\Program Files\\App\\app.exe", "MZ");
    sandbox::MakeFolder("C:\\App");
    sandbox::SetString(kHkeyLocalMachine, kRun, "App", "C:\\Program Files\\App\\app.exe /min");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Tool", "C:\\App\\tool.exe -x");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Folder", "C:\\App");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Bare", "agent.exe /start");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Network", "\\\\server\\share\\agent.exe");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Empty", "");
    sandbox::SetString(kHkeyCurrentUser, kRun, "Mine", "C:\\Users\\ann\\gone.exe");

    ScanRegistryValues(kHkeyLocalMachine, kRun, true);
    ScanRegistryValues(kHkeyCurrentUser, kRun, true);

    ExpectRecords({
        {kStatusBrokenLink, Hklm(kRun + "\\Tool"), kRun, "Tool", "C:\\App\\tool.exe -x"},
        {kStatusBrokenLink, "HKCU\\" + kRun + "\\Mine", kRun, "Mine", "C:\\Users\\ann\\gone.exe", 0,
         kHkeyCurrentUser},
    });
    EXPECT_EQ(Shown(), (std::vector<std::string>{Hklm(kRun + "\\App"), Hklm(kRun + "\\Tool"),
                                                 Hklm(kRun + "\\Folder"), Hklm(kRun + "\\Bare"),
                                                 Hklm(kRun + "\\Network"), Hklm(kRun + "\\Empty"),
                                                 "HKCU\\" + kRun + "\\Mine"}));
}

TEST_F(RegistryScan, EveryBlankCutsAPrefixThatMayPassTheEntry) {
    sandbox::MakeFolder("C:\\Program");
    CheckRegistryPath("C:\\Program Files\\Gone\\app.exe /min", "where", 0, kHkeyLocalMachine, kRun,
                      "A", 0);
    EXPECT_EQ(colProblems.Count(), 0) << "C:\\Program, cut at the first blank, exists";

    CheckRegistryPath("C:\\Gone Folder\\app.exe  /a  /b ", "where", 0, kHkeyLocalMachine, kRun, "B",
                      0);
    ExpectRecords({{0, "where", kRun, "B", "C:\\Gone Folder\\app.exe  /a  /b"}});
}

TEST_F(RegistryScan, AFileOnADriveThatIsNotThereIsNotReported) {
    sandbox::MakeFolder("D:\\Data");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Stick", "Q:\\Portable\\agent.exe");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Share", "q:\\Portable\\agent.exe /tray");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Data", "D:\\Data\\gone.exe");

    ScanRegistryValues(kHkeyLocalMachine, kRun, true);

    ExpectRecords({{kStatusBrokenLink, Hklm(kRun + "\\Data"), kRun, "Data", "D:\\Data\\gone.exe"}});
}

TEST_F(RegistryScan, FontsWithoutADriveAreSkipped) {
    sandbox::SetString(kHkeyLocalMachine, kFonts, "Arial (TrueType)", "arial.ttf");
    sandbox::SetString(kHkeyLocalMachine, kFonts, "Extra (TrueType)", "C:\\Fonts\\extra.ttf");

    ScanRegistryValues(kHkeyLocalMachine, kFonts, true);

    ExpectRecords({{kStatusBrokenLink, Hklm(kFonts + "\\Extra (TrueType)"), kFonts,
                    "Extra (TrueType)", "C:\\Fonts\\extra.ttf"}});
}

TEST_F(RegistryScan, SharedDllsAreNamedByTheirValues) {
    sandbox::WriteFile("C:\\Shared\\here.dll", "MZ");
    const std::string count("\x01\0\0\0", 4);
    sandbox::SetValue(kHkeyLocalMachine, kSharedDlls, "C:\\Shared\\gone.dll", platform::kRegDword,
                      count);
    sandbox::SetValue(kHkeyLocalMachine, kSharedDlls, "C:\\Shared\\here.dll", platform::kRegDword,
                      count);
    // Far more data than any enumeration buffer: the name is still the path.
    sandbox::SetValue(kHkeyLocalMachine, kSharedDlls, "C:\\Shared\\big.dll", platform::kRegBinary,
                      std::string(2000, 'x'));

    ScanRegistryValues(kHkeyLocalMachine, kSharedDlls, false);

    ExpectRecords({
        {kStatusBrokenLink, Hklm(kSharedDlls), kSharedDlls, "C:\\Shared\\gone.dll",
         "C:\\Shared\\gone.dll"},
        {kStatusBrokenLink, Hklm(kSharedDlls), kSharedDlls, "C:\\Shared\\big.dll",
         "C:\\Shared\\big.dll"},
    });
    EXPECT_EQ(Shown(), (std::vector<std::string>{Hklm(kSharedDlls) + ": C:\\Shared\\gone.dll",
                                                 Hklm(kSharedDlls) + ": C:\\Shared\\here.dll",
                                                 Hklm(kSharedDlls) + ": C:\\Shared\\big.dll"}));
}

TEST_F(RegistryScan, HelpEntriesJoinFolderAndName) {
    sandbox::WriteFile("C:\\Help\\here.hlp", "?_");
    sandbox::SetString(kHkeyLocalMachine, kHelp, "app.hlp", "C:\\App");
    sandbox::SetString(kHkeyLocalMachine, kHelp, "here.hlp", "C:\\Help\\");
    sandbox::SetString(kHkeyLocalMachine, kHelp, "gone.hlp", "C:\\Help\\");
    sandbox::SetString(kHkeyLocalMachine, kHelp, "nofolder.hlp", "");

    ScanHelpFiles(kHkeyLocalMachine, kHelp);

    ExpectRecords({
        {kStatusWrongHelp, Hklm(kHelp + "\\app.hlp"), kHelp, "app.hlp", "C:\\App\\app.hlp", 1},
        {kStatusWrongHelp, Hklm(kHelp + "\\gone.hlp"), kHelp, "gone.hlp", "C:\\Help\\\\gone.hlp",
         1},
    });
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_EQ(Shown()[0], Hklm(kHelp + "\\app.hlp"));
}

TEST_F(RegistryScan, EntriesThatDoNotFitTheBuffersAreSkippedNotTheRestOfTheList) {
    const std::string longName(300, 'L');
    sandbox::SetString(kHkeyLocalMachine, kRun, longName, "C:\\Gone\\long.exe");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Big",
                       "C:\\Gone\\big.exe " + std::string(2000, 'x'));
    sandbox::SetString(kHkeyLocalMachine, kRun, "Next", "C:\\Gone\\next.exe");
    Uninstall(std::string(300, 'A'), "C:\\Gone\\longkey.exe");
    Uninstall("B", "C:\\Gone\\b.exe");

    ScanRegistryValues(kHkeyLocalMachine, kRun, true);
    ScanRegistrySubkeys(kHkeyLocalMachine, kUninstall, true, "UninstallString",
                        kStatusWrongUninstall);

    ExpectRecords({
        {kStatusBrokenLink, Hklm(kRun + "\\Next"), kRun, "Next", "C:\\Gone\\next.exe"},
        {kStatusWrongUninstall, Hklm(kUninstall + "\\B"), kUninstall + "\\B", "UninstallString",
         "C:\\Gone\\b.exe"},
    });
    EXPECT_EQ(Shown(), (std::vector<std::string>{Hklm(kRun + "\\Big"), Hklm(kRun + "\\Next"),
                                                 kUninstall + "\\B"}))
        << "a value too large to read is still looked at (and reads as empty)";
}

// The text tested for an entry is the text ReadRegistryValue gives, whatever form it is stored
// in, for a list of values and for the values of a list of subkeys alike.
TEST_F(RegistryScan, ValueDataReadsAsReadRegistryValueReadsIt) {
    auto path = [](size_t length) {
        std::string text = "C:\\Gone\\";
        while (text.size() + 4 < length)
            text += text.size() % 9 == 8 ? '\\' : 'p';
        return text + ".exe";
    };
    const std::string nul(1, '\0');
    struct Stored {
        std::string name;  // numbered: subkeys list in name order, values as stored
        std::uint32_t type;
        std::string bytes;
    };
    const std::vector<Stored> stored = {
        {"01 WithNul", platform::kRegSz, "C:\\Gone\\a.exe" + nul},
        {"02 WithoutNul", platform::kRegSz, "C:\\Gone\\b.exe"},
        {"03 Expand", platform::kRegExpandSz, "C:\\Gone\\c.exe" + nul},
        {"04 Binary", platform::kRegBinary, "C:\\Gone\\d.exe"},
        {"05 NoBytes", platform::kRegSz, ""},
        {"06 NulOnly", platform::kRegSz, nul},
        {"07 AtLimit", platform::kRegSz, path(1023) + nul},
        {"08 AtLimitNoNul", platform::kRegSz, path(1024)},
        {"09 OverLimit", platform::kRegSz, path(1024) + nul},
        {"10 FarOver", platform::kRegSz, path(1500) + nul},
    };
    for (const Stored& s : stored) {
        sandbox::SetValue(kHkeyLocalMachine, kRun, s.name, s.type, s.bytes);
        sandbox::SetValue(kHkeyLocalMachine, kAppPaths + "\\" + s.name, "", s.type, s.bytes);
    }

    ScanRegistryValues(kHkeyLocalMachine, kRun, true);
    ScanRegistrySubkeys(kHkeyLocalMachine, kAppPaths, true, "", kStatusBrokenLink);

    std::vector<Expected> expected;
    for (const Stored& s : stored) {
        const std::string text = ReadRegistryValue(kHkeyLocalMachine, kRun, s.name);
        if (!text.empty())
            expected.push_back({kStatusBrokenLink, Hklm(kRun + "\\" + s.name), kRun, s.name,
                                GetPathFromCommandLine(text)});
    }
    ASSERT_EQ(expected.size(), 6u) << "a, b, c, d and the two at the limit";
    for (const Stored& s : stored) {
        const std::string subkey = kAppPaths + "\\" + s.name;
        const std::string text = ReadRegistryValue(kHkeyLocalMachine, subkey, "");
        if (!text.empty())
            expected.push_back(
                {kStatusBrokenLink, Hklm(subkey), subkey, "", GetPathFromCommandLine(text)});
    }
    ExpectRecords(expected);
}

TEST_F(RegistryScan, KeysRefusingFullAccessCountAsAbsent) {
    sandbox::SetString(kHkeyLocalMachine, kRun, "Tool", "C:\\Gone\\tool.exe");
    sandbox::RefuseFullAccess(kHkeyLocalMachine, kRun);
    Uninstall("Locked", "C:\\Gone\\locked.exe");
    Uninstall("Locked\\Inner", "C:\\Gone\\inner.exe");
    Uninstall("Open", "C:\\Gone\\open.exe");
    sandbox::RefuseFullAccess(kHkeyLocalMachine, kUninstall + "\\Locked");

    ScanRegistryValues(kHkeyLocalMachine, kRun, true);
    ScanRegistrySubkeys(kHkeyLocalMachine, kUninstall, true, "UninstallString",
                        kStatusWrongUninstall);
    ScanRegistryValues(kHkeyLocalMachine, "Software\\Nowhere", true);

    const std::string open = kUninstall + "\\Open";
    ExpectRecords(
        {{kStatusWrongUninstall, Hklm(open), open, "UninstallString", "C:\\Gone\\open.exe"}});
    EXPECT_EQ(Shown(), (std::vector<std::string>{kUninstall + "\\Locked", open}))
        << "the locked key is listed by its parent but neither read nor entered";
}

TEST_F(RegistryScan, CancelStopsBeforeTheNextEntryAndKeepsWhatWasFound) {
    Uninstall("A", "C:\\Gone\\a.exe");
    Uninstall("A\\A1", "C:\\Gone\\a1.exe");
    Uninstall("B", "C:\\Gone\\b.exe");
    stopWhen_ = [] { return colProblems.Count() == 1; };

    ScanRegistrySubkeys(kHkeyLocalMachine, kUninstall, true, "UninstallString",
                        kStatusWrongUninstall);

    const std::string a = kUninstall + "\\A";
    ExpectRecords({{kStatusWrongUninstall, Hklm(a), a, "UninstallString", "C:\\Gone\\a.exe"}});
    EXPECT_EQ(Shown(), std::vector<std::string>{a}) << "neither B nor A's subtree";

    sandbox::SetString(kHkeyLocalMachine, kRun, "X", "C:\\Gone\\x.exe");
    sandbox::SetString(kHkeyLocalMachine, kRun, "Y", "C:\\Gone\\y.exe");
    stopWhen_ = [] { return colProblems.Count() == 2; };
    bScanRunning = true;
    ScanRegistryValues(kHkeyLocalMachine, kRun, true);
    ASSERT_EQ(colProblems.Count(), 2);
    EXPECT_EQ(colProblems.Item(2)->pCureKeyValueName, "X");

    lines_.clear();
    frmProgress->lbl1.SetCaption("");
    ScanHelpFiles(kHkeyLocalMachine, kHelp);
    ScanRegistryValues(kHkeyLocalMachine, kRun, false);
    ScanRegistrySubkeys(kHkeyLocalMachine, kUninstall, true, "UninstallString", 2);
    EXPECT_TRUE(lines_.empty()) << "a stopped scan looks at nothing";
    EXPECT_EQ(colProblems.Count(), 2);
}

}  // namespace
