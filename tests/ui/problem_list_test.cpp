// The problem list: rows rebuilt from the collection, left-out duplicates, the current row
// found again, the pauses for events on long lists, and the selection buttons.
#include <string>

#include "model/problem_list.h"
#include "platform/sandbox/machine.h"
#include "support/main_window_test.h"
#include "ui/interaction.h"

namespace {

class ProblemList : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        OpenMainWindow();
    }
    static std::shared_ptr<clsItem> Add(long type, const std::string& name) {
        auto item = std::make_shared<clsItem>();
        item->pType(type);
        item->pName(name);
        AddItem(item);
        return item;
    }
    static ui::ListView& List() { return frmMain->lstMain; }
    static std::string Selection() {
        std::string rows;
        for (int row = 1; row <= List().Count(); ++row)
            rows += List().Selected(row) ? 'x' : '.';
        return rows;
    }
    static bool Hourglass() {
        return sandbox::TheMachine().ui.windows.at(frmMain->Hwnd()).waitCursor;
    }
};

TEST_F(ProblemList, ADuplicateGetsNoRowButCountsAndTheNextRowKeepsItsPosition) {
    Add(kTypeShortcut, "C:\\Desktop\\Game.lnk");
    Add(kTypeShortcut, "C:\\Desktop\\Game.lnk");
    Add(kTypeFile, "C:\\Temp\\a.tmp");
    Add(7, "odd kind");
    RefreshList();
    ASSERT_EQ(List().Count(), 3);
    EXPECT_EQ(List().Tag(1), "1");
    EXPECT_EQ(List().Tag(2), "3") << "the position of its own record, not the row number";
    EXPECT_EQ(List().Key(2), "file_C:\\Temp\\a.tmp_");
    EXPECT_EQ(List().Icon(3), ui::ListView::kNoIcon);
    EXPECT_EQ(List().Text(3, 0), "");
    EXPECT_EQ(frmMain->lblInfo.Caption(), "Problems: 4");
    EXPECT_TRUE(frmMain->lblInfo.Visible());
    EXPECT_TRUE(List().HasFocus());

    colProblems = ProblemCollection();
    RefreshList();
    EXPECT_EQ(List().Count(), 0);
    EXPECT_FALSE(frmMain->lblInfo.Visible());
}

TEST_F(ProblemList, TheCurrentRowIsFoundAgainByItsKey) {
    for (const char* name : {"a", "b", "c"})
        Add(kTypeFile, name);
    RefreshList();
    List().SetCurrentItem(3);
    colProblems = ProblemCollection();
    for (const char* name : {"new", "a", "b", "c"})
        Add(kTypeFile, name);
    RefreshList();
    EXPECT_EQ(List().Key(List().CurrentItem()), "file_c_") << "now the fourth row";
    EXPECT_EQ(List().CurrentItem(), 4);

    colProblems = ProblemCollection();
    Add(kTypeFile, "other");
    RefreshList();  // the current record is gone: no error, the control's own default
    EXPECT_NE(List().CurrentItem(), 4);
}

TEST_F(ProblemList, ALongListPausesForEventsEveryHundredRowsUnderTheHourglass) {
    for (int i = 0; i < 250; ++i)
        Add(kTypeFile, "C:\\Temp\\" + std::to_string(i));
    for (int rows : {100, 200})
        sandbox::Script(
            "events after " + std::to_string(rows) + " rows", [] { EXPECT_TRUE(Hourglass()); },
            [rows] { return List().Count() == rows; });
    RefreshList();
    EXPECT_EQ(sandbox::PendingActions(), 0u);
    EXPECT_EQ(List().Count(), 250);
    EXPECT_FALSE(Hourglass());
}

TEST_F(ProblemList, TheSelectionButtonsSelectAllNoneAndTheOthers) {
    for (const char* name : {"a", "b", "c", "d"})
        Add(kTypeFile, name);
    RefreshList();
    EXPECT_EQ(Selection(), "....");
    List().SetSelected(1, true);
    List().SetSelected(3, true);
    frmMain->btnOptions.SetFocus();
    sandbox::Script("invert", sandbox::ClickOn("Form1", "btnSelectInvert"));
    sandbox::Script("check", [] {
        EXPECT_EQ(Selection(), ".x.x");
        EXPECT_TRUE(List().HasFocus());
    });
    sandbox::Script("all", sandbox::ClickOn("Form1", "btnSelectAll"));
    sandbox::Script("check", [] { EXPECT_EQ(Selection(), "xxxx"); });
    sandbox::Script("none", sandbox::ClickOn("Form1", "btnSelectNone"));
    sandbox::Script("check", [] { EXPECT_EQ(Selection(), "...."); });
    ui::DoEvents();
    EXPECT_EQ(sandbox::PendingActions(), 0u);

    SelectRows(4);
    EXPECT_EQ(Selection(), "....") << "an unknown mode only moves the focus";
}

}  // namespace
