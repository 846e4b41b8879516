// The chooser among several finds of a missing file: what it shows, and what each way of
// closing it leaves in sChosenPath.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/sandbox/machine.h"
#include "repair/missing_file.h"
#include "repair/repair_progress.h"
#include "repair/select_path.h"
#include "support/sandbox_test.h"
#include "support/shipped_language.h"

namespace {

constexpr const char* kChooser = "frmRepairSelectPath";
constexpr const char* kMissing = "C:\\Old\\\u03A9mega\\app.exe";

class Chooser : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        colCandidates = {"C:\\WINDOWS\\system32\\app.exe", "C:\\Program Files\\New\\APP.EXE",
                         "C:\\Program Files\\Old\\app.exe"};
        sRepairItemName = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
        sChosenPath = "left from before";
    }

    static platform::Hwnd Control(const char* name) { return sandbox::FindControl(kChooser, name); }
    static std::string Text(const char* name) { return platform::GetWindowText(Control(name)); }

    // Shows the chooser modally, runs `act` once it is up, and returns sChosenPath after
    // it has closed.
    static std::string Choose(std::function<void()> act) {
        sandbox::Script("act on the chooser", std::move(act),
                        [] { return sandbox::FindForm(kChooser) != 0; });
        SelectPathForm chooser(kMissing);
        chooser.Show(ui::ShowMode::Modal);
        EXPECT_EQ(sandbox::PendingActions(), 0u);
        EXPECT_FALSE(chooser.IsLoaded());
        return sChosenPath;
    }
    // A key as the dialog manager handles it: Enter presses the default button, Esc the
    // cancel button.
    static std::function<void()> Press(bool enter) {
        return [enter] {
            const auto& form = sandbox::TheMachine().ui.windows.at(sandbox::FindForm(kChooser));
            form.events->OnCommand(enter ? form.defaultId : form.cancelId);
        };
    }
};

TEST_F(Chooser, ShowsTheFindsWithTheFirstSelectedAndOkTakesTheSelectedLine) {
    InstallShippedLanguage(kAppFolder);
    const std::string chosen = Choose([] {
        EXPECT_EQ(sChosenPath, "") << "emptied when the dialog loads";
        EXPECT_EQ(platform::GetWindowText(sandbox::FindForm(kChooser)), "Select file");
        // Every shared DLL's row has this location: the missing file tells them apart.
        EXPECT_EQ(Text("lblInfo"),
                  "The file that HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs "
                  "needs was found in more than one place. Choose the one to use:");
        EXPECT_EQ(Text("lblMissing"), std::string("Missing file:\r\n") + kMissing);
        EXPECT_EQ(Text("OKButton"), "OK");
        EXPECT_EQ(Text("CancelButton"), "Cancel");
        const platform::Hwnd list = Control("List1");
        ASSERT_EQ(platform::ListBoxGetCount(list), 3);
        for (int line = 0; line < 3; ++line)
            EXPECT_EQ(platform::ListBoxGetText(list, line), colCandidates[line]);
        EXPECT_EQ(platform::ListBoxGetCurSel(list), 0);
        platform::ListBoxSetCurSel(list, 1);
        sandbox::ClickOn(kChooser, "OKButton")();
    });
    EXPECT_EQ(chosen, "C:\\Program Files\\New\\APP.EXE");
    EXPECT_EQ(Choose(Press(true)), "C:\\WINDOWS\\system32\\app.exe") << "Enter is OK";
}

TEST_F(Chooser, CancelEscAndTheCloseBoxChooseNothing) {
    EXPECT_EQ(Choose(sandbox::ClickOn(kChooser, "CancelButton")), "");
    sChosenPath = "left from before";
    EXPECT_EQ(Choose(Press(false)), "") << "Esc";
    sChosenPath = "left from before";
    EXPECT_EQ(Choose(sandbox::CloseBoxOf(kChooser)), "");
}

TEST_F(Chooser, WithoutItsLanguageFileTheDialogSpeaksTheBuiltInEnglish) {
    sandbox::SetBuiltInLanguageFile(ShippedLanguage());
    const std::string chosen = Choose([] {
        EXPECT_EQ(platform::GetWindowText(sandbox::FindForm(kChooser)), "Select file");
        EXPECT_EQ(Text("lblMissing"), std::string("Missing file:\r\n") + kMissing);
        EXPECT_EQ(Text("OKButton"), "OK");
        EXPECT_EQ(Text("CancelButton"), "Cancel");
        sandbox::ClickOn(kChooser, "OKButton")();
    });
    EXPECT_EQ(chosen, "C:\\WINDOWS\\system32\\app.exe");
}

TEST_F(Chooser, TheDialogHasItsDesignedLayout) {
    SelectPathForm chooser(kMissing);
    chooser.Load();
    EXPECT_EQ(chooser.ScaleWidth(), 9855);
    EXPECT_EQ(chooser.ScaleHeight(), 3390);
    const auto expect = [](const ui::Control& control, ui::TwipRect rect) {
        SCOPED_TRACE(control.Name());
        const ui::TwipRect bounds = control.Bounds();
        EXPECT_EQ(bounds.left, rect.left);
        EXPECT_EQ(bounds.top, rect.top);
        EXPECT_EQ(bounds.width, rect.width);
        EXPECT_EQ(bounds.height, rect.height);
    };
    expect(chooser.lblInfo, {120, 120, 9615, 615});
    expect(chooser.lblMissing, {120, 780, 9615, 420});
    expect(chooser.List1, {120, 1320, 9615, 1425});
    expect(chooser.OKButton, {5880, 2880, 1935, 375});
    expect(chooser.CancelButton, {7920, 2880, 1815, 375});
    chooser.Unload();
}

}  // namespace
