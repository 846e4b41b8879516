// The search for a missing file under the Windows and program-files folders: the order of
// its finds, the trees it does not enter, the status line, and the index a repair run
// keeps of both trees.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "model/item.h"
#include "platform/sandbox/machine.h"
#include "repair/missing_file.h"
#include "repair/repair_progress.h"
#include "support/sandbox_test.h"
#include "ui/controls.h"

namespace {

using Paths = std::vector<std::string>;

constexpr const char* kChooser = "frmRepairSelectPath";

class MissingFileSearch : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        Roots("C:\\WINDOWS", "C:\\Program Files\\");
        sandbox::MakeFolder("C:\\WINDOWS");
        sandbox::MakeFolder("C:\\Program Files");
        ResetMissingFileIndex();
        colCandidates.clear();
        sChosenPath.clear();
        frmRepairRun = nullptr;
    }
    void TearDown() override {
        Roots("", "");
        ResetMissingFileIndex();
        SandboxTest::TearDown();
    }

    static void Roots(const std::string& windows, const std::string& programFiles) {
        sWindowsFolder = windows;
        sProgramFilesFolder = programFiles;
    }
    static void Touch(const std::string& path) { sandbox::WriteFile(path, "x"); }
    static clsItem Record(const std::string& missing, long type = kTypeRegistry) {
        clsItem item;
        item.pType(type);
        item.pCureMissingfile = missing;
        return item;
    }

    // What FindMissingFile offers for the missing path: the chooser's candidates when it
    // opens (it is then cancelled and must give nothing), else the one path it returns.
    static Paths Offered(const std::string& missing) {
        SCOPED_TRACE("offered for " + missing);
        bool chooserShown = false;
        sandbox::Script(
            "cancel the chooser",
            [&] {
                chooserShown = true;
                sandbox::ClickOn(kChooser, "CancelButton")();
            },
            [] { return sandbox::FindForm(kChooser) != 0; });
        clsItem item = Record(missing);
        const std::string result = FindMissingFile(item);
        if (chooserShown) {
            EXPECT_EQ(result, "") << "a cancelled choice gives nothing";
            return colCandidates;
        }
        sandbox::TheMachine().ui.script.clear();
        return result.empty() ? Paths{} : Paths{result};
    }
    // What a fresh walk of both trees finds, the reference for the index.
    static Paths Searched(const std::string& name) {
        Paths found = SearchFile("C:\\WINDOWS", name);
        const Paths more = SearchFile(StripBackslash(sProgramFilesFolder), name);
        found.insert(found.end(), more.begin(), more.end());
        return found;
    }
};

// A repair window whose status line the search writes; its own run stays switched off.
class RepairWindow {
  public:
    RepairWindow() : window_(rows_) {
        window_.Load();
        window_.Timer1.SetEnabled(false);
        frmRepairRun = &window_;
    }
    ~RepairWindow() { frmRepairRun = nullptr; }
    std::string Status() const { return window_.lbl2.Caption(); }
    RepairProgressForm& Window() { return window_; }

    // Records every change of the status line seen while events run, from now on. It
    // stands first in the script for the rest of the test: no other action can run.
    void WatchStatus() {
        sandbox::Script(
            "never: watch the status line", [] {},
            [this] {
                if (seen.empty() || seen.back() != Status()) seen.push_back(Status());
                return false;
            });
    }
    Paths seen;

  private:
    ui::ListView rows_;
    RepairProgressForm window_;
};

TEST_F(MissingFileSearch, CandidatesComeInDiscoveryOrderWindowsFirstAndTheChooserPicksOne) {
    Touch("C:\\WINDOWS\\a\\deep\\App.Exe");
    sandbox::MakeFolder("C:\\WINDOWS\\app.exe");  // a folder named like the file
    Touch("C:\\WINDOWS\\app.exe\\app.exe");
    Touch("C:\\WINDOWS\\system32\\app.exe");
    Touch("C:\\WINDOWS\\system32\\other.exe");
    Touch("C:\\Program Files\\New\\APP.EXE");
    const Paths expected = {"C:\\WINDOWS\\app.exe", "C:\\WINDOWS\\a\\deep\\App.Exe",
                            "C:\\WINDOWS\\app.exe\\app.exe", "C:\\WINDOWS\\system32\\app.exe",
                            "C:\\Program Files\\New\\APP.EXE"};
    EXPECT_EQ(Searched("app.exe"), expected)
        << "a folder's own matches first, then each subfolder's tree in listing order";

    RepairWindow repair;
    sRepairItemName = "HKLM\\Software\\Old";
    sandbox::Script(
        "look at the chooser",
        [&] {
            const platform::Hwnd list = sandbox::FindControl(kChooser, "List1");
            ASSERT_EQ(platform::ListBoxGetCount(list), 5);
            EXPECT_EQ(platform::ListBoxGetText(list, 4), "C:\\Program Files\\New\\APP.EXE");
            EXPECT_EQ(platform::ListBoxGetCurSel(list), 0) << "the first line selected";
            const auto& window = sandbox::TheMachine().ui.windows.at(sandbox::FindForm(kChooser));
            EXPECT_EQ(window.owner, repair.Window().Hwnd()) << "owned by the repair window";
            EXPECT_FALSE(platform::IsWindowEnabled(repair.Window().Hwnd())) << "modal";
            platform::ListBoxSetCurSel(list, 3);
        },
        [] { return sandbox::FindForm(kChooser) != 0; });
    sandbox::Script("OK", sandbox::ClickOn(kChooser, "OKButton"));
    clsItem item = Record("C:\\Old\\app.exe");
    EXPECT_EQ(FindMissingFile(item), "C:\\WINDOWS\\system32\\app.exe");
    EXPECT_EQ(colCandidates, expected);
    EXPECT_EQ(sandbox::PendingActions(), 0u);
    EXPECT_EQ(repair.Status(), "") << "the status line is cleared after the search";

    EXPECT_EQ(Offered("C:\\Old\\other.exe"), Paths{"C:\\WINDOWS\\system32\\other.exe"})
        << "a single find is taken without asking";
    EXPECT_EQ(Offered("C:\\Old\\gone.exe"), Paths{});
}

TEST_F(MissingFileSearch, TheNameIsTheTextAfterTheLastBackslash) {
    Touch("C:\\Program Files\\New\\app.exe");
    EXPECT_EQ(Offered("app.exe"), Paths{"C:\\Program Files\\New\\app.exe"})
        << "a bare file name is the name";
    EXPECT_EQ(Offered("C:\\Old\\New\\APP.exe"), Paths{"C:\\Program Files\\New\\app.exe"});
    EXPECT_EQ(Offered("C:\\Old\\app.exe\\"), Paths{}) << "the whole text, which nothing bears";
    EXPECT_EQ(Offered(""), Paths{});
}

TEST_F(MissingFileSearch, RecordsThatAreNotSearchedForLeaveTheDiskAlone) {
    RepairWindow repair;
    repair.WatchStatus();
    for (long type : {kTypeFile, kTypeRepaired}) {
        clsItem item = Record("C:\\Old\\app.exe", type);
        EXPECT_EQ(FindMissingFile(item), "");
    }
    // Had either call walked the trees, the index would not know the file made since.
    Touch("C:\\WINDOWS\\app.exe");
    clsItem item = Record("C:\\Old\\app.exe");
    EXPECT_EQ(FindMissingFile(item), "C:\\WINDOWS\\app.exe");
    EXPECT_EQ(repair.seen, (Paths{"Searching directory C:\\WINDOWS...",
                                  "Searching directory C:\\Program Files...", ""}));
}

TEST_F(MissingFileSearch, ADriveRootAsTheWindowsFolderAndTheSameFileUnderBothRoots) {
    Roots("C:\\", "C:\\Program Files\\");
    Touch("C:\\app.exe");
    Touch("C:\\Program Files\\New\\app.exe");
    RepairWindow repair;
    sandbox::Script(
        "look at the status line", [] {},
        [&] { return repair.Status() == "Searching directory C:..."; });
    EXPECT_EQ(Offered("D:\\app.exe"), (Paths{"C:\\app.exe", "C:\\Program Files\\New\\app.exe",
                                             "C:\\Program Files\\New\\app.exe"}))
        << "single backslashes; the program-files tree found again inside the Windows tree";
}

TEST_F(MissingFileSearch, LinksAndFoldersThatCannotBeListedAreNotEntered) {
    Touch("C:\\WINDOWS\\system32\\app.exe");
    Touch("C:\\Program Files\\New\\app.exe");
    Touch("C:\\Elsewhere\\app.exe");
    Touch("C:\\WINDOWS\\locked\\app.exe");
    sandbox::DenyListing("C:\\WINDOWS\\locked");
    MakeReparsePointsOfEveryTag("C:\\WINDOWS\\system32\\loop", "C:\\WINDOWS");
    MakeReparsePointsOfEveryTag("C:\\Program Files\\New\\again", "C:\\Program Files");
    MakeReparsePointsOfEveryTag("C:\\WINDOWS\\elsewhere", "C:\\Elsewhere");
    const Paths expected = {"C:\\WINDOWS\\system32\\app.exe", "C:\\Program Files\\New\\app.exe"};
    EXPECT_EQ(Searched("app.exe"), expected);
    EXPECT_EQ(Offered("C:\\Old\\app.exe"), expected);
}

TEST_F(MissingFileSearch, TheStatusLineShowsEachFolderAndTheTreesAreWalkedOncePerRun) {
    Touch("C:\\WINDOWS\\system32\\drivers\\app.exe");
    Touch("C:\\Program Files\\New\\lib.dll");
    RepairWindow repair;
    repair.WatchStatus();
    clsItem first = Record("C:\\Old\\app.exe");
    EXPECT_EQ(FindMissingFile(first), "C:\\WINDOWS\\system32\\drivers\\app.exe");
    clsItem second = Record("C:\\Old\\lib.dll");
    EXPECT_EQ(FindMissingFile(second), "C:\\Program Files\\New\\lib.dll");
    EXPECT_EQ(repair.seen, (Paths{"Searching directory C:\\WINDOWS...",
                                  "Searching directory C:\\WINDOWS\\system32...",
                                  "Searching directory C:\\WINDOWS\\system32\\drivers...",
                                  "Searching directory C:\\Program Files...",
                                  "Searching directory C:\\Program Files\\New...", ""}));

    // Within the run the index stands; a new run walks the trees again.
    sandbox::TheMachine().ui.script.clear();
    Touch("C:\\WINDOWS\\lib.dll");
    EXPECT_EQ(Offered("C:\\Old\\lib.dll"), Paths{"C:\\Program Files\\New\\lib.dll"});
    ResetMissingFileIndex();
    EXPECT_EQ(Offered("C:\\Old\\lib.dll"),
              (Paths{"C:\\WINDOWS\\lib.dll", "C:\\Program Files\\New\\lib.dll"}));
}

TEST_F(MissingFileSearch, ACandidateGoneSinceTheIndexWasBuiltIsNotOffered) {
    Touch("C:\\WINDOWS\\system32\\app.exe");
    Touch("C:\\Program Files\\New\\app.exe");
    Touch("C:\\Program Files\\New\\lib.dll");
    EXPECT_EQ(Offered("C:\\Old\\lib.dll"), Paths{"C:\\Program Files\\New\\lib.dll"});
    std::filesystem::remove(sandbox::HostPath("C:\\WINDOWS\\system32\\app.exe"));
    sandbox::HideAttributes("C:\\Program Files\\New\\app.exe");
    EXPECT_EQ(Offered("C:\\Old\\app.exe"), Paths{"C:\\Program Files\\New\\app.exe"})
        << "still listed, though its attributes cannot be read";
}

// A generated machine: a few names in every letter case spread over folders, some of them
// named like the files, with loops, folders that cannot be listed and the program-files
// folder inside the Windows tree. The index must offer what a fresh walk finds.
TEST_F(MissingFileSearch, TheIndexOffersExactlyWhatAFreshWalkFinds) {
    Roots("C:\\WINDOWS", "C:\\WINDOWS\\Apps\\");
    const std::vector<std::string> names = {"app.exe", "APP.EXE",    "App.exe", "lib.dll",
                                            "LIB.dll", "readme.txt", "Data.bin"};
    std::mt19937 random(9);
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    std::vector<std::string> folders = {"C:\\WINDOWS", "C:\\WINDOWS\\Apps"};
    sandbox::MakeFolder("C:\\WINDOWS\\Apps");
    auto isFree = [](const std::string& path) {
        return !std::filesystem::exists(sandbox::HostPath(path));
    };
    for (size_t i = 0; i < folders.size() && folders.size() < 60; ++i) {
        const std::string folder = folders[i];
        for (int f = pick(4); f >= 0; --f) {
            const std::string file =
                folder + "\\" + (pick(3) == 0 ? names[pick(7)] : "f" + std::to_string(f));
            if (isFree(file)) Touch(file);
        }
        for (int s = 1 + pick(3); s > 0; --s) {
            const std::string sub =
                folder + "\\" + (pick(5) == 0 ? names[pick(7)] : "d" + std::to_string(s));
            if (!isFree(sub)) continue;
            sandbox::MakeFolder(sub);
            folders.push_back(sub);
        }
    }
    ASSERT_GE(folders.size(), 20u);
    sandbox::MakeJunction(folders[7] + "\\up", "C:\\WINDOWS");
    sandbox::MakeSymbolicLink(folders[11] + "\\top", "C:\\WINDOWS\\Apps");
    sandbox::DenyListing(folders[5]);

    for (const std::string name : {"app.exe", "Lib.DLL", "README.TXT", "data.bin", "absent"}) {
        const Paths expected = Searched(name);
        EXPECT_EQ(Offered("C:\\Old\\" + name), expected) << name;
    }
    EXPECT_GT(Searched("app.exe").size(), 3u) << "the machine holds the names several times";
}

}  // namespace
