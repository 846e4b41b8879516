// The scan's progress window: its one timer tick runs the phases; Cancel and the close box
// stop them; the progress procedures show steps, the item and the problem count.
#include "model/item.h"
#include "scan/progress_window.h"
#include "support/sandbox_test.h"
#include "ui/controls.h"

namespace {

class OwnerForm : public ui::Form {
  public:
    OwnerForm() : ui::Form("Form1") {}

  protected:
    void Design() override { SetClientSize(12510, 8280); }
};

class ProgressWindow : public SandboxTest {
  protected:
    void SetUp() override {
        SandboxTest::SetUp();
        colProblems = ProblemCollection();
        owner_.Show();
        frmProgress = std::make_unique<ProgressForm>();
    }
    void TearDown() override {
        frmProgress.reset();
        SandboxTest::TearDown();
    }
    static int Bar() { return frmProgress->ProgressBar1.Value(); }
    void RunScan() { frmProgress->Show(ui::ShowMode::Modal, &owner_); }
    // Runs `check` inside the scan once the bar shows `steps`.
    static void AtStep(int steps, std::function<void()> check) {
        sandbox::Script("at step " + std::to_string(steps), std::move(check),
                        [steps] { return frmProgress->IsLoaded() && Bar() == steps; });
    }

    OwnerForm owner_;
};

TEST_F(ProgressWindow, AFullRunTicksOnceAfter300MsAndFillsTheBar) {
    AtStep(1, [this] {
        EXPECT_EQ(sandbox::VirtualTime(), 300);
        EXPECT_EQ(frmProgress->Caption(), "Progress");
        EXPECT_EQ(frmProgress->btnCancel.Caption(), "Cancel");
        EXPECT_FALSE(frmProgress->lblProblems.Visible());
        EXPECT_FALSE(owner_.IsLoaded() && platform::IsWindowEnabled(owner_.Hwnd()))
            << "the owner is disabled while the scan runs";
        EXPECT_TRUE(bScanRunning);
    });
    AtStep(ProgressForm::kSteps, [] { EXPECT_EQ(frmProgress->ProgressBar1.Max(), 14); });
    RunScan();
    EXPECT_EQ(sandbox::PendingActions(), 0u) << "the bar reached 14 of 14";
    EXPECT_FALSE(frmProgress->IsLoaded());
    EXPECT_FALSE(bScanRunning);
    EXPECT_FALSE(bScanCancelled);
    EXPECT_EQ(sandbox::VirtualTime(), 300) << "the timer ran once";
    EXPECT_TRUE(platform::IsWindowEnabled(owner_.Hwnd()));
}

TEST_F(ProgressWindow, CancelStopsTheRemainingPhasesButTheWindowWaitsForThePhase) {
    sandbox::Script("click Cancel", sandbox::ClickOn("frmProgress", "btnCancel"),
                    [] { return frmProgress->IsLoaded() && Bar() == 1; });
    AtStep(2, [] {
        EXPECT_TRUE(frmProgress->IsLoaded()) << "open until the phase returns";
        EXPECT_TRUE(bScanCancelled);
        EXPECT_FALSE(bScanRunning);
    });
    AtStep(3, [] { ADD_FAILURE() << "the bar moved on after Cancel"; });
    RunScan();
    EXPECT_EQ(sandbox::PendingActions(), 1u) << "only the step-3 check is left";
    EXPECT_FALSE(frmProgress->IsLoaded());
    EXPECT_TRUE(bScanCancelled) << "stays set for the scan driver";
}

TEST_F(ProgressWindow, TheCloseBoxStopsTheScanWithoutCountingAsCancelled) {
    sandbox::Script("close the window", sandbox::CloseBoxOf("frmProgress"),
                    [] { return frmProgress->IsLoaded() && Bar() == 1; });
    RunScan();
    EXPECT_FALSE(frmProgress->IsLoaded());
    EXPECT_FALSE(bScanRunning);
    EXPECT_FALSE(bScanCancelled);
}

TEST_F(ProgressWindow, ANewWindowClearsTheLastScansCancel) {
    bScanCancelled = true;
    frmProgress->Load();
    EXPECT_FALSE(bScanCancelled);
    EXPECT_TRUE(bScanRunning);
}

TEST_F(ProgressWindow, ShowProgressNamesTheItemAndCountsProblems) {
    sandbox::WriteFile("C:\\Purgelint\\languages\\eng.txt",
                       "[Lang]\r\nfrmprogress_problems=Found:\r\n");
    frmProgress->Show();
    ShowProgress("C:\\Users\\ann\\Desktop\\Game.lnk");
    EXPECT_EQ(frmProgress->lbl1.Caption(), "C:\\Users\\ann\\Desktop\\Game.lnk");
    EXPECT_FALSE(frmProgress->lblProblems.Visible()) << "no problems yet";
    for (int i = 0; i < 3; ++i)
        AddItem(std::make_shared<clsItem>());
    ShowProgress("HKLM\\SOFTWARE\\Run");
    EXPECT_TRUE(frmProgress->lblProblems.Visible());
    EXPECT_EQ(frmProgress->lblProblems.Caption(), "Found: 3");

    ProgressStep();
    ProgressStep();
    EXPECT_EQ(Bar(), 2);
    EXPECT_EQ(sandbox::VirtualTime(), 0) << "progress lets due events run, it does not wait";
}

}  // namespace
