// The scanners on the sandbox machine.
#include <tuple>

#include "core/language.h"
#include "platform/filesystem.h"
#include "scan/scanners.h"
#include "support/sandbox_test.h"

namespace {

using core::Problem;
using scan::PathIn;
using scan::RegistryList;
using Lines = std::vector<std::string>;

constexpr const char* kDesktop = "C:\\Users\\ann\\Desktop";
constexpr const char* kPrograms = "C:\\Users\\ann\\Programs";
constexpr const char* kCache = "C:\\Users\\ann\\Cache";
constexpr const char* kTemp = "C:\\Temp";

// Each problem as one line: everything the list shows and a repair relies on.
Lines Show(const core::Problems& problems) {
    static const core::Language english;
    Lines shown;
    for (const Problem& p : problems)
        shown.push_back(
            core::KindText(p.kind, english) + ", " + core::CategoryText(p.category, english) +
            ", " + platform::RootKeyName(p.root) + " | " + p.location + " | " + p.keyPath + " | " +
            p.valueName + " | " + p.missingFile + " | " + p.file + " | " +
            (p.cure == core::Cure::PointToFolder ? "folder" : "file") + " | " + p.description);
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

// Plants an entry of `list` called `name` that names `path`; returns the problem it makes
// when the path is missing. A help entry keeps the folder as data and the file as name; a
// shared DLL's name is its path, its data a use count.
Problem Plant(const RegistryList& list, const std::string& name, const std::string& path) {
    Problem p{.category = list.category,
              .location = In(platform::RootKeyName(list.root), list.key),
              .description = "Links to nonexisting file " + path,
              .missingFile = path,
              .file = {},
              .root = list.root,
              .keyPath = list.key,
              .valueName = name};
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
        for (const char* folder : {kDesktop, kPrograms, kCache, kTemp, "C:\\WINDOWS"})
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

    core::Folders folders_{kDesktop,     kPrograms,    kCache, "C:\\Program Files",
                           "C:\\Temp\\", "C:\\WINDOWS"};
    core::Language language_;
    core::Problems problems_;
    TestProgress progress_;
    scan::Scope scope_{folders_, language_, problems_, progress_};
};

TEST_F(ScanTest, EveryRegistryListRecordsExactlyItsEntriesNamingAMissingFile) {
    const auto& lists = scan::RegistryLists();
    Lines table;  // each list's root, where its entries keep the path, and the value read
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const RegistryList& list = lists[i];
        const std::string root = platform::RootKeyName(list.root);
        SCOPED_TRACE(root + "\\" + list.key);
        table.push_back(root + std::to_string(static_cast<int>(list.pathIn)) + list.valueName);
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
    EXPECT_EQ(table, (Lines{"HKLM0UninstallString", "HKLM1", "HKCU1", "HKLM1", "HKLM1", "HKLM2",
                            "HKLM0", "HKLM3"}));
}

TEST_F(ScanTest, OnlyAPathOnAPresentDriveThatNoPrefixExplainsIsMissing) {
    const RegistryList& run = scan::RegistryLists()[1];
    ASSERT_EQ(run.pathIn, PathIn::ValueData);
    sandbox::WriteFile("C:\\Program Files\\Tool\\tool.exe", "MZ");
    sandbox::MakeFolder("D:\\Data");
    struct Row {
        const char* input;
        const char* missing;  // empty: the entry passes
    };
    const Row rows[] = {
        {"C:\\Program Files\\Tool\\tool.exe /min -x", ""},
        {"C:\\Gone\\tool.exe /min", "C:\\Gone\\tool.exe /min"},
        {"\"C:\\Gone\\quoted.exe\" /a", "C:\\Gone\\quoted.exe"},
        {"%SystemRoot%\\gone.exe", "C:\\WINDOWS\\gone.exe"},
        {"Q:\\Stick\\agent.exe", ""},
        {"D:\\Data\\gone.exe", "D:\\Data\\gone.exe"},
        {"agent.exe /start", ""},
        {"\\\\server\\share\\agent.exe", ""},
    };
    ForEachRow(rows, [&](const Row& row) {
        problems_.clear();
        sandbox::SetString(run.root, run.key, "Entry", row.input);
        scan::ScanRegistryList(run, scope_);
        EXPECT_EQ(problems_.empty() ? "" : problems_[0].missingFile, row.missing);
        EXPECT_LE(problems_.size(), 1u);
    });
}

// Data over the read limit reads as empty, a name too long for its buffer skips that entry
// alone, a subkey that refuses full access is neither read nor entered: all of them pass.
TEST_F(ScanTest, AnEntryThatCannotBeReadPassesAndTheListGoesOn) {
    const RegistryList& uninstall = scan::RegistryLists()[0];
    const RegistryList& run = scan::RegistryLists()[1];
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

    scan::ScanTempFiles(std::string(kTemp) + "\\", scope_);

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
    Lines expected = {In(kDesktop, "d.lnk"), In(kPrograms, "p.lnk")};
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
    const std::vector<std::size_t> everyStep = {1, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13};
    ASSERT_EQ(everyStep.size(), static_cast<std::size_t>(scan::kScanSteps));
    struct Row {
        const char* input;       // an item that stops the scan once shown
        std::size_t stopAtStep;  // a step that stops it; 0: none
        std::size_t steps, found;
    };
    const Row rows[] = {{"", 0, 14, 13}, {"", 5, 5, 3}, {"a.tmp", 0, 12, 11}};
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
