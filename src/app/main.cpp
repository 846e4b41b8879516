// purgelint.exe: a GUI-subsystem program. Start-up builds the session, the main window lives
// on it until it closes.
#include "app/main_window.h"
#include "app/startup.h"
#include "core/logs.h"
#include "platform/application.h"
#include "platform/com.h"
#include "platform/failure.h"

int main() {
    // Failures caught where window handlers meet the system go to the error log.
    platform::SetFailureReport(core::WriteLog);
    try {
        const platform::ComApartment apartment;
        if (!apartment.Entered()) core::WriteLog("Error: the COM apartment could not be entered");
        platform::SystemTime today;
        platform::GetLocalTime(today);
        std::optional<app::Session> session = app::Start(platform::CommandLineArguments(), today);
        if (!session) return 0;
        app::MainWindow window(*session);
        window.Run();
        return 0;
    } catch (...) {
        // Nothing unwinds out of the entry point unseen: the log keeps the reason.
        platform::ReportCurrentException("Main");
        return 1;
    }
}
