// The scanners on the sandbox machine.
#include <tuple>

#include "scan/scanners.h"
#include "support/sandbox_test.h"

namespace {

using core::Problem;
using scan::PathIn;
using scan::RegistryList;
using Lines = std::vector<std::string>;

constexpr const char *kDesktop = "C:\\Users\\ann\\Desktop", *kPrograms = "C:\\Users\\ann\\Programs",
                     *kCache = "C:\\Users\\ann\\Cache", *kTemp = "C:\\Temp",
                     *kWindows = "C:\\WINDOWS", *kCommonDesktop = "C:\\Users\\Public\\Desktop",
                     *kCommonPrograms = "C:\\ProgramData\\Programs",
                     *kProgramFiles = "C:\\Program Files",
                     *kProgramFilesX86 = "C:\\Program Files (x86)",
                     *kSystem = "C:\\WINDOWS\\system32", *kSystemX86 = "C:\\WINDOWS\\SysWOW64";

// Each problem as one line: everything the list shows and a repair relies on.
Lines Show(const core::Problems& problems) {
    static const core::Language english;
    Lines shown;
    for (const Problem& p : problems)
        shown.push_back(core::KindText(p.kind, english) + ", " +
                        core::CategoryText(p.category, english) + ", " +
                        platform::RootKeyName(p.root) + " | " + p.location + " | " + p.keyPath +
                        " | " + p.valueName + " | " + p.missingFile + " | " + p.file + " | " +
                        (p.cure == core::Cure::PointToFolder ? "folder" : "file") +
                        (p.view == core::RegistryView::Of32BitPrograms ? " | 32-bit | " : " | ") +
                        p.description);
    return shown;
}

std::string In(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}
void DatedFile(const std::string& path, int y, int m, int d, int h = 0, int min = 0, int s = 0) {
    sandbox::WriteFile(path, "x");
    sandbox::SetLastWriteTime(path, y, m, d, h, min, s);
}
void Link(const std::string& path, const std::string& target, const std::string& arguments = "") {
    sandbox::WriteShortcut(path, {target, "", arguments, "", ""});
}

// Plants an entry `name` of `list` naming `path`; returns the problem it makes if that is missing.
// A help entry keeps the folder as data, the file as name; a shared DLL's name is its path.
Problem Plant(const RegistryList& list, const std::string& name, const std::string& path) {
    Problem p{.category = list.category,
              .location = In(platform::RootKeyName(list.root), list.key),
              .description = "Links to nonexisting file " + path,
              .missingFile = path,
              .file = {},
              .root = list.root,
              .keyPath = list.key,
              .valueName = name};
    p.view = list.view;
    std::string data = path + '\0';
    if (list.pathIn == PathIn::SubkeyValue) {
        p.keyPath = In(list.key, name);
        p.valueName = list.valueName;
    } else if (list.pathIn == PathIn::ValueName) {
        p.valueName = path;
        data = std::string("\x01\0\0\0", 4);
    } else if (list.pathIn == PathIn::HelpFolderAndName) {
        p.valueName = path.substr(path.rfind('\\') + 1);
        data = path.substr(0, path.rfind('\\')) + '\0';
        p.cure = core::Cure::PointToFolder;
    }
    if (list.pathIn != PathIn::ValueName)
        p.location = In(p.location, list.pathIn == PathIn::SubkeyValue ? name : p.valueName);
    sandbox::SetValue(list.root, p.keyPath, p.valueName,
                      list.pathIn == PathIn::ValueName ? platform::kRegDword : platform::kRegSz,
                      data);
    return p;
}

class ScanTest : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        for (const char* folder : {kDesktop, kPrograms, kCache, kTemp, kCommonDesktop,
                                   kCommonPrograms, kSystem, kSystemX86})
            sandbox::MakeFolder(folder);
        sandbox::SetShortDateFormat("yyyy-MM-dd");
        sandbox::SetTimeFormat("HH:mm:ss");
    }
    Lines Found() const {
        Lines locations;
        for (const Problem& problem : problems_)
            locations.push_back(problem.location);
        return locations;
    }

    core::Folders folders_{
        kDesktop,  kPrograms,      kCache,          kProgramFiles,    std::string(kTemp) + "\\",
        kWindows,  kCommonDesktop, kCommonPrograms, kProgramFilesX86, kSystem,
        kSystemX86};
    core::Language language_;
    core::Problems problems_;
    TestProgress progress_;
    scan::Scope scope_{folders_, language_, problems_, progress_};
};

TEST_F(ScanTest, EveryRegistryListRecordsExactlyItsEntriesNamingAMissingFile) {
    const auto& lists = scan::RegistryLists();
    // Each list's root, where its entries keep the path, the value read, and "32" for the
    // 32-bit programs' copy of the list before it.
    Lines table;
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const RegistryList& list = lists[i];
        const std::string root = platform::RootKeyName(list.root);
        SCOPED_TRACE(root + "\\" + list.key);
        const bool copy =
            i > 0 && std::string(list.key) ==
                         "SOFTWARE\\WOW6432Node" + std::string(lists[i - 1].key).substr(8);
        table.push_back(root + std::to_string(static_cast<int>(list.pathIn)) + list.valueName +
                        (copy && list.view == core::RegistryView::Of32BitPrograms ? "32" : ""));
        const std::string gone = "C:\\Gone\\" + std::to_string(i);
        const std::string here = "C:\\Present\\" + std::to_string(i);
        sandbox::WriteFile(In(here, "here.exe"), "MZ");
        core::Problems expected;
        if (list.pathIn == PathIn::SubkeyValue) {
            // Every child of a key before the first child's subtree, at every depth.
            Plant(list, "A", In(here, "here.exe"));
            const Problem deep = Plant(list, "A\\Deep", In(gone, "deep.exe"));
            const Problem deeper = Plant(list, "A\\Deep\\Deeper", In(gone, "deeper.exe"));
            expected = {Plant(list, "B", In(gone, "b.exe")), deep, deeper};
        } else {
            expected = {Plant(list, "Gone", In(gone, "gone.exe"))};
            Plant(list, "Here", In(here, "here.exe"));
        }
        problems_.clear();
        scan::ScanRegistryList(list, scope_);
        EXPECT_EQ(Show(problems_), Show(expected));
    }
    EXPECT_EQ(table, (Lines{"HKLM0UninstallString", "HKLM0UninstallString32", "HKLM1", "HKLM132",
                            "HKCU1", "HKLM1", "HKLM132", "HKLM1", "HKLM2", "HKLM232", "HKLM0",
                            "HKLM3", "HKLM332"}));
}

// The machine's start-up list and its copy for 32-bit programs, which read %ProgramFiles% as
// their own and find their system files in SysWOW64 as well.
TEST_F(ScanTest, OnlyAPathOnAPresentDriveThatNoPrefixExplainsIsMissing) {
    const RegistryList &run = scan::RegistryLists()[2], &run32 = scan::RegistryLists()[3];
    ASSERT_EQ(run.pathIn, PathIn::ValueData);
    ASSERT_EQ(run32.view, core::RegistryView::Of32BitPrograms);
    for (const char* file :
         {"C:\\Program Files\\Tool\\tool.exe", "C:\\Program Files (x86)\\Old\\old.exe",
          "C:\\WINDOWS\\SysWOW64\\x.exe"})
        sandbox::WriteFile(file, "MZ");
    sandbox::MakeFolder("D:\\Data");
    struct Row {
        const char* input;
        const char *missing, *missing32;  // empty: the entry passes
    };
    const Row rows[] = {
        {"C:\\Program Files\\Tool\\tool.exe /min -x", "", ""},
        {"C:\\Gone\\tool.exe /min", "C:\\Gone\\tool.exe /min", "C:\\Gone\\tool.exe /min"},
        {"\"C:\\Gone\\quoted.exe\" /a", "C:\\Gone\\quoted.exe", "C:\\Gone\\quoted.exe"},
        {"%SystemRoot%\\gone.exe", "C:\\WINDOWS\\gone.exe", "C:\\WINDOWS\\gone.exe"},
        {"Q:\\Stick\\agent.exe", "", ""},
        {"D:\\Data\\gone.exe", "D:\\Data\\gone.exe", "D:\\Data\\gone.exe"},
        {"agent.exe /start", "", ""},
        {"\\\\server\\share\\agent.exe", "", ""},
        {"%ProgramFiles%\\Old\\old.exe", "C:\\Program Files\\Old\\old.exe", ""},
        {"%ProgramFiles%\\Tool\\tool.exe", "", "C:\\Program Files (x86)\\Tool\\tool.exe"},
        {"c:\\windows\\System32\\x.exe -a", "c:\\windows\\System32\\x.exe -a", ""},
        {"C:\\WINDOWS\\system32x.exe", "C:\\WINDOWS\\system32x.exe", "C:\\WINDOWS\\system32x.exe"},
        {"C:\\Program Files (x86)\\Gone\\a.exe", "C:\\Program Files (x86)\\Gone\\a.exe",
         "C:\\Program Files (x86)\\Gone\\a.exe"},
    };
    ForEachRow(rows, [&](const Row& row) {
        for (const RegistryList* list : {&run, &run32}) {
            problems_.clear();
            sandbox::SetString(list->root, list->key, "Entry", row.input);
            scan::ScanRegistryList(*list, scope_);
            EXPECT_EQ(problems_.empty() ? "" : problems_[0].missingFile,
                      list == &run ? row.missing : row.missing32);
            EXPECT_LE(problems_.size(), 1u);
        }
    });
}

// Data over the read limit reads as empty, a name too long for its buffer skips that entry
// alone, a subkey that refuses full access is neither read nor entered: all of them pass.
TEST_F(ScanTest, AnEntryThatCannotBeReadPassesAndTheListGoesOn) {
    const RegistryList &uninstall = scan::RegistryLists()[0], &run = scan::RegistryLists()[2];
    const std::string gone = "C:\\Gone\\a.exe", key = uninstall.key;
    sandbox::SetValue(run.root, run.key, "Big", platform::kRegSz, gone + std::string(1100, ' '));
    sandbox::SetValue(run.root, run.key, std::string(300, 'n'), platform::kRegSz, gone);
    sandbox::SetValue(run.root, run.key, "NoNul", platform::kRegSz, gone);
    for (const char* subkey : {"\\Locked", "\\Locked\\Inner", "\\Open"})
        sandbox::SetString(uninstall.root, key + subkey, "UninstallString", gone);
    sandbox::RefuseFullAccess(uninstall.root, key + "\\Locked");
    scan::ScanRegistryList(run, scope_);
    scan::ScanRegistryList(uninstall, scope_);
    EXPECT_EQ(Found(),
              (Lines{"HKLM\\" + std::string(run.key) + "\\NoNul", "HKLM\\" + key + "\\Open"}));
}

TEST_F(ScanTest, TheTempScanRecordsOldFilesAtAnyDepthButNoSystemFileAndNothingBehindALink) {
    // A day number counts 365 days a year and 12 a month, whatever the month's length: today
    // 361.tmp is 365 + 12 - 16 days old (the calendar says 380), 367.tmp 365 - 12 + 14 (349).
    sandbox::SetLocalTime(2026, 6, 15);
    constexpr std::uint32_t kHidden = platform::kFileAttributeHidden;
    constexpr std::uint32_t kSystem = platform::kFileAttributeSystem;
    const std::tuple<const char*, int, int, int, std::uint32_t> files[] = {
        {"365.tmp", 2025, 6, 15, 0},         {"366.tmp", 2025, 6, 14, 0},
        {"361.tmp", 2025, 5, 31, 0},         {"367.tmp", 2025, 7, 1, 0},
        {"tomorrow.tmp", 2026, 6, 16, 0},    {"hidden.tmp", 2020, 1, 1, kHidden},
        {"system.tmp", 2020, 1, 1, kSystem}, {"sys-hidden.tmp", 2020, 1, 1, kSystem | kHidden},
    };
    for (const auto& [name, year, month, day, attributes] : files) {
        DatedFile(In(kTemp, name), year, month, day, 23, 59, 59);
        sandbox::SetAttributes(In(kTemp, name), attributes);
    }
    DatedFile(In(kTemp, "plain.tmp"), 2020, 6, 7, 8, 9, 10);
    DatedFile(In(kTemp, "Sub\\deep.tmp"), 2020, 1, 1);
    DatedFile("C:\\Elsewhere\\outside.tmp", 2020, 1, 1);
    MakeReparsePointsOfEveryTag(In(kTemp, "Sub\\Out"), "C:\\Elsewhere");
    MakeReparsePointsOfEveryTag(In(kTemp, "file-link"), "C:\\Elsewhere\\outside.tmp");
    for (std::size_t i = 0; i < std::size(kEveryReparseTag); ++i)
        sandbox::SetLastWriteTime(In(kTemp, "file-link" + std::to_string(i)), 2020, 1, 1);

    scan::ScanTempFiles(folders_.temp, scope_);

    const std::string plain = In(kTemp, "plain.tmp");
    ASSERT_EQ(Found(), (Lines{In(kTemp, "366.tmp"), In(kTemp, "367.tmp"), In(kTemp, "hidden.tmp"),
                              plain, In(kTemp, "Sub\\deep.tmp")}));
    EXPECT_EQ(Show({problems_[3]})[0],
              "File, Unused file,  | " + plain + " |  |  |  | " + plain +
                  " | file | File in temporary folder, last used 2020-06-07 08:09:10");
    EXPECT_EQ(problems_[4].description, "File in temporary folder, last used 2020-01-01");
}

TEST_F(ScanTest, AShortcutIsBrokenWhenItsTargetIsMissingOnAPresentDrive) {
    sandbox::WriteFile("C:\\Apps\\present.exe", "MZ");
    Link(In(kDesktop, "Upper.LNK"), "C:\\Gone\\upper.exe");
    Link(In(kDesktop, "Mixed.Lnk"), "C:\\Gone\\mixed.exe");
    Link(In(kDesktop, "Tool.lnk"), "C:\\Gone\\tool.exe", "/quiet /x");
    Link(In(kDesktop, "Present.lnk"), "C:\\Apps\\present.exe");
    Link(In(kDesktop, "Stick.lnk"), "Q:\\Setup.exe");
    Link(In(kDesktop, "Notes.lnk.txt"), "C:\\Gone\\notes.exe");
    Link(In(kDesktop, "Sub\\inner.lnk"), "C:\\Gone\\inner.exe");
    Link("C:\\Elsewhere\\outside.lnk", "C:\\Gone\\outside.exe");
    MakeReparsePointsOfEveryTag(In(kDesktop, "Out"), "C:\\Elsewhere");

    scan::ScanShortcuts(kDesktop, scope_);

    const std::string tool = In(kDesktop, "Tool.lnk");
    ASSERT_EQ(Found(), (Lines{In(kDesktop, "Mixed.Lnk"), tool, In(kDesktop, "Upper.LNK"),
                              In(kDesktop, "Sub\\inner.lnk")}));
    EXPECT_EQ(Show({problems_[1]})[0],
              "Shortcut, Broken link,  | " + tool + " |  |  | C:\\Gone\\tool.exe | " + tool +
                  " | file | Links to nonexisting file C:\\Gone\\tool.exe /quiet /x");
    EXPECT_EQ(progress_.looked.size(), 6u) << "every shortcut file, and only those, is shown";
    EXPECT_EQ(progress_.looked[0], "Scanning shortcut " + In(kDesktop, "Mixed.Lnk"));
}

TEST_F(ScanTest, AScanRunsItsPhasesInOrderAndStopsWhenToldTo) {
    // Everyone's desktop and start menu after the user's own.
    Lines expected = {In(kDesktop, "d.lnk"), In(kCommonDesktop, "d.lnk"), In(kPrograms, "p.lnk"),
                      In(kCommonPrograms, "p.lnk")};
    for (const std::string& link : expected)
        Link(link, "C:\\Gone\\target.exe");
    for (const RegistryList& list : scan::RegistryLists())
        expected.push_back(
            Plant(list, "Gone", In("C:\\Gone" + std::to_string(expected.size()), "x.exe"))
                .location);
    for (const char* file :
         {"C:\\Temp\\a.tmp", "C:\\Temp\\b.tmp", "C:\\Users\\ann\\Cache\\c.tmp"}) {
        DatedFile(file, 2020, 1, 1);
        expected.push_back(file);
    }
    // The problems found before each step of a whole scan.
    const std::vector<std::size_t> everyStep = {2, 2, 4, 4, 6, 8, 9, 11, 12, 14, 15, 17, 19, 20};
    ASSERT_EQ(everyStep.size(), static_cast<std::size_t>(scan::kScanSteps));
    struct Row {
        const char* input;       // an item that stops the scan once shown
        std::size_t stopAtStep;  // a step that stops it; 0: none
        std::size_t steps, found;
    };
    const Row rows[] = {{"", 0, 14, 20}, {"", 5, 5, 6}, {"a.tmp", 0, 12, 18}};
    ForEachRow(rows, [&](const Row& row) {
        problems_.clear();
        progress_.goOn = true;
        progress_.stopOn = row.input;
        std::vector<std::size_t> steps;
        scan::RunScan(scope_, [&] {
            steps.push_back(problems_.size());
            if (steps.size() == row.stopAtStep) progress_.goOn = false;
        });
        EXPECT_EQ(steps,
                  std::vector<std::size_t>(everyStep.begin(), everyStep.begin() + row.steps));
        EXPECT_EQ(Found(), Lines(expected.begin(), expected.begin() + row.found));
    });
}

}  // namespace
