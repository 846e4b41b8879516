// purgelint.exe: a GUI-subsystem program whose work starts at Main.
#include "core/logs.h"
#include "core/startup.h"
#include "platform/com.h"
#include "platform/failure.h"
#include "ui/main_window.h"

int main() {
    // Failures caught where window handlers meet the system go to the error log.
    platform::SetFailureReport(WriteLog);
    try {
        const platform::ComApartment apartment;
        if (!apartment.Entered()) WriteLog("Error: the COM apartment could not be entered");
        MainWindow mainWindow;
        Main(&mainWindow);
        MainWindow::RunUntilClosed();
        frmMain.reset();
        return 0;
    } catch (...) {
        // Nothing unwinds out of the entry point unseen: the log keeps the reason.
        platform::ReportCurrentException("Main");
        return 1;
    }
}
