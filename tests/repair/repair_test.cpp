// The repair layer on the sandbox machine.
#include <utility>

#include "platform/errors.h"
#include "repair/actions.h"
#include "repair/backup.h"
#include "repair/reg_file.h"
#include "repair/restore.h"
#include "repair/search.h"
#include "repair/user.h"
#include "support/sandbox_test.h"

namespace {

using core::Problem;
using core::ProblemKind;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using Paths = std::vector<std::string>;
using K = ProblemKind;

constexpr const char* kGone = "C:\\Gone\\tool.exe";
constexpr const char* kInWindows = "C:\\Windows\\A\\tool.exe";
constexpr const char* kInProgramFiles = "C:\\Program Files\\Gone\\tool.exe";  // "Gone" shared
constexpr const char* kLink = "C:\\Desktop\\Tool.lnk";
constexpr const char* kOldFile = "C:\\Temp\\old.tmp";
constexpr const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
constexpr const char* kAppPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tool.exe";
constexpr const char* kFonts = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr const char* kHelp = "Software\\Microsoft\\Windows\\Help";
const std::string kUseCount("\x02\0\0\0", 4);
const std::string kOtherCount("\x07\0\0\0", 4);

// Answers the chooser with `choice` (nothing: cancelled) and the backup question with
// `repairAnyway`, recording every question.
struct ScriptedUser final : repair::User {
    std::optional<std::string> ChoosePath(const Problem&, const Paths& candidates) override {
        offered.push_back(candidates);
        return choice;
    }
    void CannotDelete(const std::string& path) override { cannotDelete.push_back(path); }
    bool RepairWithoutCompleteBackup() override { return ++backupQuestions, repairAnyway; }

    std::optional<std::string> choice;
    bool repairAnyway = false;
    std::vector<Paths> offered;
    Paths cannotDelete;
    int backupQuestions = 0;
};

class RepairTest : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        for (const char* folder : {"C:\\Windows", "C:\\Program Files", "C:\\Desktop", "C:\\Temp"})
            sandbox::MakeFolder(folder);
    }

    static void Touch(const std::string& path) { sandbox::WriteFile(path, "x"); }
    static Problem Make(ProblemKind kind, const std::string& key, const std::string& name,
                        const std::string& missing, platform::RootKey root = kHkeyLocalMachine) {
        return {kind, core::Category::BrokenLink, "", "", missing, "", root, key, name};
    }
    static std::string Text(const std::string& key, const std::string& name) {
        const auto value = sandbox::GetValue(kHkeyLocalMachine, key, name);
        return value ? value->data.substr(0, value->data.find('\0')) : "<absent>";
    }
    repair::MissingFileSearch Search() { return {folders_, language_, progress_}; }

    core::Folders folders_ = [] {
        core::Folders folders;
        folders.programFiles = "C:\\Program Files\\";
        folders.windows = "C:\\Windows";
        folders.programFilesX86 = "C:\\Program Files (x86)";
        return folders;
    }();
    core::Language language_;
    TestProgress progress_;
    ScriptedUser user_;
};

// What the search finds for the missing file. "One" shares its folder's name, "OneElsewhere"
// does not (the user is asked and cancels). "NothingWorks": one file, but the entry can be
// neither changed nor deleted.
enum class Found {
    Nothing,
    One,
    OneElsewhere,
    SeveralChosen,
    SeveralCancelled,
    RepointFails,
    NothingWorks
};

struct Outcome {
    const char* entry;  // "deleted", "kept" or the path it points to now
    bool repaired, chooserAsked, cannotDeleteTold;
};
constexpr Outcome kDeleted{"deleted", true, false, false};
constexpr Outcome kRepointed{kInProgramFiles, true, false, false};
constexpr Outcome kKept{"kept", false, false, false};
constexpr Outcome kKeptTold{"kept", false, false, true};

struct Case {
    ProblemKind kind;
    Found found;
    Outcome conservative, aggressive;
};
// The registry entry is a shared DLL: its path is the value's name, renamed keeping type and
// count, never over a value of the new name. The shortcut points to the missing file.
const Case kCases[] = {
    {K::Registry, Found::Nothing, kDeleted, kDeleted},
    {K::Registry, Found::One, kRepointed, kDeleted},
    {K::Registry, Found::OneElsewhere, {"deleted", true, true, false}, kDeleted},
    {K::Registry, Found::SeveralChosen, {kInWindows, true, true, false}, kDeleted},
    {K::Registry, Found::SeveralCancelled, {"deleted", true, true, false}, kDeleted},
    {K::Registry, Found::RepointFails, kDeleted, kDeleted},
    {K::Registry, Found::NothingWorks, kKept, kKept},
    {K::Shortcut, Found::Nothing, kDeleted, kDeleted},
    {K::Shortcut, Found::One, kRepointed, kDeleted},
    {K::Shortcut, Found::OneElsewhere, {"deleted", true, true, false}, kDeleted},
    {K::Shortcut, Found::SeveralChosen, {kInWindows, true, true, false}, kDeleted},
    {K::Shortcut, Found::SeveralCancelled, {"deleted", true, true, false}, kDeleted},
    {K::Shortcut, Found::RepointFails, kDeleted, kDeleted},
    {K::Shortcut, Found::NothingWorks, kKeptTold, kKeptTold},
    {K::File, Found::Nothing, kDeleted, kDeleted},
    {K::File, Found::One, kDeleted, kDeleted},
    {K::File, Found::NothingWorks, kKeptTold, kKeptTold},
};

class RepairDecision : public RepairTest, public ::testing::WithParamInterface<std::size_t> {
  protected:
    static Problem Seed(ProblemKind kind) {
        sandbox::SetValue(kHkeyLocalMachine, kSharedDlls, kGone, platform::kRegDword, kUseCount);
        sandbox::WriteShortcut(kLink, {kGone, "", "-full", "", ""});
        Touch(kOldFile);
        Problem problem = Make(kind, kSharedDlls, kGone, kind == K::File ? "" : kGone);
        problem.file = kind == K::Shortcut ? kLink : kind == K::File ? kOldFile : "";
        return problem;
    }
    static std::string Entry(ProblemKind kind) {
        if (kind == K::File) return sandbox::ReadFile(kOldFile) ? "kept" : "deleted";
        if (kind == K::Shortcut) {
            const auto link = sandbox::ReadShortcut(kLink);
            if (!link) return "deleted";
            EXPECT_EQ(link->arguments, "-full");
            return link->path == kGone ? "kept" : link->path;
        }
        if (sandbox::GetValue(kHkeyLocalMachine, kSharedDlls, kGone)) return "kept";
        // Renamed with its type and count; a value of that name with its own count is no trace.
        for (const char* path : {kInProgramFiles, kInWindows}) {
            const auto renamed = sandbox::GetValue(kHkeyLocalMachine, kSharedDlls, path);
            if (!renamed || renamed->data == kOtherCount) continue;
            EXPECT_EQ(renamed->type, platform::kRegDword);
            return renamed->data == kUseCount ? path : "overwritten";
        }
        return "deleted";
    }
};

TEST_P(RepairDecision, FollowsTheMethodAndTheSearch) {
    const bool aggressive = GetParam() >= std::size(kCases);
    const Case& c = kCases[GetParam() % std::size(kCases)];
    Problem problem = Seed(c.kind);
    const bool several = c.found == Found::SeveralChosen || c.found == Found::SeveralCancelled;
    if (c.found != Found::Nothing && c.found != Found::OneElsewhere) Touch(kInProgramFiles);
    if (several || c.found == Found::OneElsewhere) Touch(kInWindows);
    if (c.found == Found::SeveralChosen) user_.choice = kInWindows;  // not the first
    if (c.found == Found::RepointFails) {
        // A value of the new name has its own count; the file no longer reads as a shortcut.
        sandbox::SetValue(kHkeyLocalMachine, kSharedDlls, kInProgramFiles, platform::kRegDword,
                          kOtherCount);
        sandbox::WriteFile(kLink, "no shortcut");
    }
    if (c.found == Found::NothingWorks) {
        sandbox::RefuseFullAccess(kHkeyLocalMachine, kSharedDlls);
        for (const char* file : {kLink, kOldFile})
            sandbox::SetAttributes(file, platform::kFileAttributeReadOnly);
    }

    const auto method = aggressive ? repair::Method::Aggressive : repair::Method::Conservative;
    repair::Repairer(method, folders_, language_, progress_, user_).Repair(problem);

    const Outcome& want = aggressive ? c.aggressive : c.conservative;
    EXPECT_EQ(Entry(c.kind), want.entry);
    EXPECT_EQ(problem.repaired, want.repaired);
    // The find in a folder of the missing file's name first, though the search met it last.
    const Paths offered = several ? Paths{kInProgramFiles, kInWindows} : Paths{kInWindows};
    EXPECT_EQ(user_.offered, std::vector<Paths>(want.chooserAsked, offered));
    EXPECT_EQ(user_.cannotDelete, want.cannotDeleteTold ? Paths{problem.file} : Paths{});
}

INSTANTIATE_TEST_SUITE_P(Matrix, RepairDecision,
                         ::testing::Range<std::size_t>(0, 2 * std::size(kCases)));

TEST_F(RepairTest, RepointingReplacesTheMissingPathAndQuotesOnlyCommandLines) {
    const std::string quoted = '"' + std::string(kInProgramFiles) + '"';
    struct Repointing {
        const char *key, *name, *before;
        std::string after;
        const char *missing = kGone, *newPath = kInProgramFiles;
        core::RegistryView view = core::RegistryView::Native;
    };
    const char* x86 = "C:\\Program Files (x86)\\Old\\x.dll";
    const Repointing texts[] = {
        {kRun, "Tool", "c:\\gone\\TOOL.EXE -min", quoted + " -min"},
        {kRun, "Quoted", "\"C:\\Gone\\tool.exe\" /tray", quoted + " /tray"},
        {kRun, "NoBlank", "C:\\Gone\\tool.exe -min", "C:\\Windows\\A\\tool.exe -min", kGone,
         kInWindows},
        {kUninstall, "UninstallString", "C:\\Gone\\tool.exe /S", quoted + " /S"},
        {kUninstall, "Other", "\"%ProgramFiles%\\Old\\x.exe\" /S", quoted,
         "C:\\Program Files\\Old\\x.exe"},
        {kFonts, "Old", "%WinDir%\\Fonts\\x.ttf", kInProgramFiles, "C:\\Windows\\Fonts\\x.ttf"},
        {kFonts, "Gone (TrueType)", kGone, kInProgramFiles},
        {kHelp, "tool.hlp", "C:\\Gone", "C:\\Program Files\\B", "C:\\Gone\\tool.hlp",
         "C:\\Program Files\\B\\tool.hlp"},
        // A shared DLL's name read as the 32-bit program that wrote it reads it is renamed.
        {kSharedDlls, "%ProgramFiles%\\Old\\x.dll", "", "<absent>", x86, kInProgramFiles,
         core::RegistryView::Of32BitPrograms},
        {kSharedDlls, "%ProgramFiles%\\Old\\y.dll", "", kInProgramFiles, x86},
    };
    for (const Repointing& t : texts) {
        SCOPED_TRACE(std::string(t.key) + " " + t.name);
        sandbox::SetString(kHkeyLocalMachine, t.key, t.name, t.before);
        Problem problem = Make(K::Registry, t.key, t.name, t.missing);
        problem.view = t.view;
        // Uninstall commands are command lines by their category, Run entries by their key.
        if (t.key == kUninstall) problem.category = core::Category::WrongUninstall;
        if (t.key == kHelp) problem.cure = core::Cure::PointToFolder;
        EXPECT_TRUE(repair::Repoint(problem, t.newPath, folders_));
        EXPECT_TRUE(problem.repaired);
        EXPECT_EQ(Text(t.key, t.name), t.after);
    }
}

// The Windows tree, the program files, then the 32-bit programs' files.
TEST_F(RepairTest, TheSearchOffersWhatSearchFileFindsInTheWindowsTreeFirst) {
    Touch("C:\\Windows\\a\\deep\\Tool.Exe");
    sandbox::MakeFolder("C:\\Windows\\tool.exe");  // a folder named like the file
    Touch("C:\\Windows\\tool.exe\\tool.exe");
    Touch("C:\\Windows\\system32\\TOOL.EXE");
    Touch("C:\\Elsewhere\\tool.exe");
    MakeReparsePointsOfEveryTag("C:\\Windows\\out", "C:\\Elsewhere");
    Touch(kInProgramFiles);
    Touch("C:\\Program Files (x86)\\X\\tool.exe");
    repair::MissingFileSearch search = Search();
    EXPECT_TRUE(search.Candidates(Make(K::File, "", "", kGone)).empty()) << "no temporary file";
    Touch("C:\\Windows\\c\\tool.exe");  // found only if that call walked nothing
    const Paths inWindows = {"C:\\Windows\\tool.exe", "C:\\Windows\\a\\deep\\Tool.Exe",
                             "C:\\Windows\\c\\tool.exe", "C:\\Windows\\system32\\TOOL.EXE",
                             "C:\\Windows\\tool.exe\\tool.exe"};
    EXPECT_EQ(repair::SearchFile("C:\\Windows", "tool.exe", "", progress_), inWindows);
    const Problem tool = Make(K::Registry, kRun, "Tool", kGone);
    Paths both = inWindows;
    both.insert(both.end(), {kInProgramFiles, "C:\\Program Files (x86)\\X\\tool.exe"});
    EXPECT_EQ(search.Candidates(tool), both);

    // Within the run the trees are not walked again: what is gone is dropped, what is new
    // is not seen; an entry whose attributes cannot be read is still listed.
    std::filesystem::remove(sandbox::HostPath("C:\\Windows\\c\\tool.exe"));
    sandbox::HideAttributes(kInProgramFiles);
    Touch("C:\\Windows\\B\\tool.exe");
    both.erase(both.begin() + 2);
    EXPECT_EQ(search.Candidates(tool), both);
    both.insert(both.begin() + 2, "C:\\Windows\\B\\tool.exe");
    EXPECT_EQ(Search().Candidates(tool), both) << "a new run walks the trees again";
}

constexpr const char* kBackupFolder = "C:\\PURGEL~1\\backup\\";

std::string BackupCommand(const std::string& root, const std::string& key, int n) {
    return "REG EXPORT \"" + root + "\\" + key + "\" \"" + kBackupFolder + "261207-090503-" +
           std::to_string(n) + ".reg\" /y";
}

// Folder names count from each file's own folder upwards, in any letter case, while they match;
// drives do not count.
TEST(Ranking, CountsTheFolderNamesAFindSharesWithTheMissingFile) {
    const std::string missing = "C:\\Program Files\\Brackenfold Photo Viewer\\uninst.exe";
    for (const auto& [found, shared] : std::initializer_list<std::pair<const char*, int>>{
             {"C:\\Program Files\\Larkspan Tuner\\uninst.exe", 0},
             {"C:\\Program Files\\Viewers\\Brackenfold Photo Viewer\\uninst.exe", 1},
             {"C:\\uninst.exe", 0},
             {"D:\\PROGRAM FILES\\brackenfold photo viewer\\UNINST.EXE", 2},
             {"C:\\Program Files\\Brackenfold Photo Viewer\\bin\\uninst.exe", 0}})
        EXPECT_EQ(repair::SharedFolderNames(found, missing), static_cast<std::size_t>(shared))
            << found;
}

TEST_F(RepairTest, TheBackupExportsEachKeyIntoItsOwnFileOrLogsAFailureAndAsks) {
    sandbox::SetString(kHkeyLocalMachine, kAppPath, "", kGone);
    sandbox::SetString(kHkeyLocalMachine, kFonts, "Gone (TrueType)", "gone.ttf");
    sandbox::SetString(kHkeyCurrentUser, kRun, "Tool", kGone);
    const core::Problems problems = {
        Make(K::Registry, kAppPath, "", kGone), Make(K::Shortcut, "", "", kGone),
        Make(K::Registry, kFonts, "Gone (TrueType)", ""), Make(K::File, "", "", ""),
        Make(K::Registry, kRun, "Tool", kGone, kHkeyCurrentUser)};
    ASSERT_FALSE(std::filesystem::exists(sandbox::HostPath(AppFile("backup"))));
    sandbox::SetLocalTime(2026, 12, 7, 9, 5, 3);
    sandbox::OnProcessStart([](const std::string& commandLine) {
        sandbox::SetLocalTime(2026, 12, 7, 9, 5, 4);  // one stamp for the whole backup
        return sandbox::RunRegTool(commandLine);
    });
    // Each registry problem's export, by its long path; none for the others.
    const std::string file = AppFile("backup\\261207-090503-");
    repair::RunBackup backup(repair::Method::Aggressive);
    EXPECT_TRUE(backup.Take(problems, {}, true, user_));
    EXPECT_EQ((Paths{backup.FileOf(0), backup.FileOf(1), backup.FileOf(2), backup.FileOf(3),
                     backup.FileOf(4)}),
              (Paths{file + "1.reg", "", file + "2.reg", "", file + "3.reg"}));
    EXPECT_EQ(sandbox::StartedProcesses(),
              (Paths{BackupCommand("HKLM", kAppPath, 1), BackupCommand("HKLM", kFonts, 2),
                     BackupCommand("HKCU", kRun, 3)}));
    EXPECT_EQ(user_.backupQuestions, 0);
    EXPECT_EQ(ReadAppFile("log.txt"), "<none>");
    // A shortcut that cannot be copied is asked about as a failed export is.
    core::Problems locked = {Make(K::Shortcut, "", "", kGone)};
    locked[0].file = kLink;
    Touch(kLink);
    sandbox::LockFile(kLink);
    EXPECT_FALSE(repair::RunBackup(repair::Method::Aggressive).Take(locked, {0}, false, user_));
    EXPECT_EQ(user_.backupQuestions, 1);
    EXPECT_EQ(ReadAppFile("log.txt").substr(0, 31), "Error: Backupshortcut: 32: The ");
    user_ = ScriptedUser();

    sandbox::SetLocalTime(2026, 12, 7, 9, 5, 3);
    const std::pair<sandbox::ProcessOutcome, std::string> failures[] = {
        {sandbox::ProcessOutcome::EndsWith(1), "1: REG EXPORT ended with this exit code"},
        {sandbox::ProcessOutcome::FailsToStart(platform::kErrorAccessDenied),
         "5: Access is denied."},
        {sandbox::ProcessOutcome::NeverEnds(),
         "258: REG EXPORT did not end within a minute and was stopped"},
    };
    // Each run in the same second takes the next letter: no run's files overwrite another's.
    char letter = 'b';
    for (const auto& [outcome, logged] : failures) {
        sandbox::OnProcessStart([&outcome](const std::string& commandLine) {
            return commandLine.find("-2.reg\"") != std::string::npos
                       ? outcome
                       : sandbox::RunRegTool(commandLine);
        });
        for (const bool answer : {true, false}) {
            SCOPED_TRACE(logged + (answer ? ", yes" : ", no"));
            std::filesystem::remove(sandbox::HostPath(AppFile("log.txt")));
            user_ = ScriptedUser();
            user_.repairAnyway = answer;
            repair::RunBackup run(repair::Method::Aggressive);
            EXPECT_EQ(run.Stamp(), std::string("261207-090503") + letter++);
            EXPECT_EQ(run.Take(problems, {}, true, user_), answer);
            EXPECT_EQ(user_.backupQuestions, 1);
            EXPECT_EQ(sandbox::RunningProcesses(), 0u);
            EXPECT_EQ(ReadAppFile("log.txt"), "Error: Backupregistry: " + logged +
                                                  " (exporting HKLM\\" + kFonts + " to " +
                                                  kBackupFolder + run.Stamp() + "-2.reg)\r\n");
        }
    }
}

// A conservative run re-points an expandable entry and renames a shared DLL's value, deletes a
// font entry, a shortcut in a folder of its own and a temporary file. Afterwards another
// program writes the font entry anew, and the folder goes. The restore brings back the
// entries with their types and the shortcut with its folder, leaves the new font entry, and
// a second restore changes nothing.
TEST_F(RepairTest, ARestorePutsBackWhatTheRunChangedAndNothingChangedSince) {
    const std::string sub = "C:\\Desktop\\Tools", link = sub + "\\Tool.lnk";
    sandbox::SetValue(kHkeyLocalMachine, kRun, "Tool", platform::kRegExpandSz,
                      std::string(kGone) + " /x" + '\0');
    sandbox::SetValue(kHkeyLocalMachine, kSharedDlls, kGone, platform::kRegDword, kUseCount);
    sandbox::SetString(kHkeyLocalMachine, kFonts, "Gone (TrueType)", "C:\\Gone\\gone.ttf");
    for (const std::string& at : {link, std::string(kLink)})
        sandbox::WriteShortcut(at, {"C:\\Gone\\other.exe", "", "/a", "", ""});
    sandbox::SetString(kHkeyLocalMachine, kHelp, "tool.hlp", "C:\\Gone");
    for (const char* file : {kInProgramFiles, "C:\\Program Files\\Gone\\tool.hlp", kOldFile})
        Touch(file);
    core::Problems problems = {Make(K::Registry, kRun, "Tool", kGone),
                               Make(K::Registry, kSharedDlls, kGone, kGone),
                               Make(K::Registry, kFonts, "Gone (TrueType)", "C:\\Gone\\gone.ttf"),
                               Make(K::Shortcut, "", "", "C:\\Gone\\other.exe"),
                               Make(K::File, "", "", ""),
                               Make(K::Registry, kHelp, "tool.hlp", "C:\\Gone\\tool.hlp"),
                               Make(K::Shortcut, "", "", "C:\\Gone\\other.exe")};
    problems[3].file = link;
    problems[4].file = kOldFile;
    problems[5].cure = core::Cure::PointToFolder;
    problems[6].file = kLink;
    const auto values = [] {
        return std::vector{sandbox::GetValue(kHkeyLocalMachine, kRun, "Tool"),
                           sandbox::GetValue(kHkeyLocalMachine, kSharedDlls, kGone),
                           sandbox::GetValue(kHkeyLocalMachine, kSharedDlls, kInProgramFiles),
                           sandbox::GetValue(kHkeyLocalMachine, kHelp, "tool.hlp")};
    };
    const auto before = values();
    const auto linkBytes = sandbox::ReadFile(link);

    repair::RunBackup backup(repair::Method::Conservative);
    ASSERT_TRUE(backup.Take(problems, {0, 1, 2, 3, 4, 5, 6}, true, user_));
    repair::Repairer repairer(repair::Method::Conservative, folders_, language_, progress_, user_);
    for (std::size_t i = 0; i < problems.size(); ++i)
        backup.Record(i, problems[i], repairer.Repair(problems[i]));
    ASSERT_EQ(backup.Save(), platform::kErrorSuccess);
    EXPECT_EQ(Text(kRun, "Tool") + "|" + Text(kHelp, "tool.hlp"),
              "\"C:\\Program Files\\Gone\\tool.exe\" /x|C:\\Program Files\\Gone");
    sandbox::SetString(kHkeyLocalMachine, kFonts, "Gone (TrueType)", "C:\\New\\gone.ttf");
    std::filesystem::remove_all(sandbox::HostPath(sub));
    sandbox::WriteFile(kLink, "a newer file");

    const auto run = repair::FindRun(backup.Stamp());
    ASSERT_TRUE(run && !repair::FindRun("..\\" + backup.Stamp()));
    using R = repair::Restored;
    for (const auto& expected :
         {std::vector{R::Yes, R::Yes, R::Kept, R::Yes, R::NothingKept, R::Yes, R::Kept},
          std::vector{R::AlreadyAsBefore, R::AlreadyAsBefore, R::Kept, R::AlreadyAsBefore,
                      R::NothingKept, R::AlreadyAsBefore, R::Kept}}) {
        std::vector<R> results;
        for (const repair::Restoration& restoration : repair::RestoreRun(*run))
            results.push_back(restoration.result);
        EXPECT_EQ(results, expected);
        EXPECT_EQ(values(), before);
        EXPECT_EQ(sandbox::ReadFile(link), linkBytes);
        EXPECT_EQ(sandbox::ReadFile(kLink), "a newer file");
    }
    EXPECT_TRUE(repair::RemoveRun(backup.Stamp()) == platform::kErrorSuccess &&
                repair::BackupSpace() == 0);
}

// A manifest cut anywhere, or with a damaged line, still gives back every whole change line
// before and after the damage, and says it is damaged.
TEST_F(RepairTest, ADamagedManifestGivesBackEveryWholeChange) {
    repair::RunRecord record;
    record.method = repair::Method::Aggressive;
    for (const char* location : {"C:\\a.lnk", "C:\\b.lnk", "C:\\c.lnk"}) {
        Problem problem = Make(K::Shortcut, "", "", "C:\\x.exe");
        problem.location = problem.file = location;
        record.changes.push_back({problem, {repair::Action::Deleted}, "C:\\backup\\1.lnk"});
    }
    const std::string text = repair::ManifestText(record);
    const auto read = [](const std::string& manifest) {
        const repair::RunRecord got = repair::ReadManifest("261207-090503", manifest);
        std::string locations = got.damaged ? "damaged" : "whole";
        for (const repair::Change& change : got.changes)
            locations += " " + change.problem.location;
        return locations + (got.method ? " aggressive" : "");
    };
    const std::size_t second = text.find("C:\\\\b.lnk");
    const std::pair<std::string, std::string> rows[] = {
        {text, "whole C:\\a.lnk C:\\b.lnk C:\\c.lnk aggressive"},
        {text.substr(0, text.size() - 4), "damaged C:\\a.lnk C:\\b.lnk C:\\c.lnk aggressive"},
        {std::string(text).replace(second, 1, "\""), "damaged C:\\a.lnk C:\\c.lnk aggressive"},
        {text.substr(text.find('\n') + 1), "damaged C:\\a.lnk C:\\b.lnk C:\\c.lnk"},
        {"", "damaged"},
        {"{\"changes\": [{\"kind\": \"shortcut\", \"action\": \"deleted\"}]}", "damaged"},
    };
    for (const auto& [manifest, expected] : rows)
        EXPECT_EQ(read(manifest), expected) << manifest;
}

// Each kind of line REG and the registry editor write gives its value back; a damaged line,
// another value or another key's gives nothing.
TEST(ExportFile, GivesBackAValueOrNothingForADamagedLine) {
    using namespace std::string_literals;
    // The line, then "type|data" or "-".
    const std::pair<std::string, std::string> rows[] = {
        {R"("v"="a\\b\"c\nd")", "1|a\\b\"c\nd\0"s},
        {R"(@="x")", "-"},
        {R"("V"=dword:0000002a)", "4|*\0\0\0"s},
        {R"("v"=dword:0000002g)", "-"},
        {"\"v\"=hex:01,FF,\\\r\n  02", "3|\x01\xFF\x02"},
        {R"("v"=hex(7):61,00,00,00)", "7|a\0"s},
        {R"("v"=hex(z):01)", "-"},
        {R"("v"=hex:0)", "-"},
        {R"("v"=hex:01;02)", "-"},
        {R"("v"=str)", "-"},
        {R"("v"="open)", "-"},
        {R"("v"="x"y)", "-"},
        {R"("v)", "-"},
        {R"("w"="other")", "-"}};
    for (const auto& [line, expected] : rows) {
        const std::string file = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_USERS\\T]\r\n" +
                                 line + "\r\n\r\n[HKEY_USERS\\T\\Sub]\r\n\"v\"=\"sub\"\r\n";
        const auto value = repair::ExportedValue(file, platform::kHkeyUsers, "t", "v");
        EXPECT_EQ(value ? std::to_string(value->type) + "|" + value->data : "-", expected) << line;
    }
}

// What cannot come back says why.
TEST_F(RepairTest, ARestoreTellsWhyAChangeCannotComeBack) {
    sandbox::WriteFile("C:\\empty.reg", "");
    sandbox::MakeFolder("C:\\Denied");
    sandbox::DenyWrites("C:\\Denied");
    repair::RunRecord run;
    for (const auto& [kind, backup] : {std::pair(K::Registry, ""),
                                       {K::Registry, "C:\\none.reg"},
                                       {K::Registry, "C:\\empty.reg"},
                                       {K::Shortcut, "C:\\empty.reg"}})
        run.changes.push_back({Make(kind, kRun, "Tool", kGone), {repair::Action::Deleted}, backup});
    run.changes.back().problem.file = "C:\\Denied\\Tool.lnk";
    std::string reasons;
    for (const repair::Restoration& restoration : repair::RestoreRun(run))
        reasons += repair::RestoredId(restoration.result) + (": " + restoration.reason) + "|";
    EXPECT_EQ(reasons,
              "left-failed: nothing of it was kept|left-failed: C:\\none.reg cannot be read: "
              "The system cannot find the file specified.|left-failed: C:\\empty.reg does "
              "not hold it|left-failed: it cannot be written: Access is denied.|");
}

}  // namespace
