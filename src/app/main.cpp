// purgelint.exe: a GUI-subsystem program. Start-up reads the switches and builds the session;
// the main window lives on it until it closes, or an unattended run ends with its exit code.
#include "app/main_window.h"
#include "app/startup.h"
#include "app/switches.h"
#include "app/unattended.h"
#include "core/logs.h"
#include "platform/application.h"
#include "platform/clock.h"
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
        const std::string arguments = platform::CommandLineArguments();
        const auto parsed = app::ParseSwitches(arguments);
        if (const auto* reason = std::get_if<std::string>(&parsed)) {
            platform::WriteOutputLine("purgelint: " + *reason);
            core::WriteAppLog("Program started with wrong params: " + arguments + ": " + *reason);
            return app::kExitBadCommandLine;
        }
        std::optional<app::Session> session = app::Start(arguments, today);
        if (!session) return 0;
        const app::Invocation& invocation = std::get<app::Invocation>(parsed);
        if (invocation.Unattended()) return app::RunUnattended(invocation, *session);
        app::MainWindow window(*session);
        window.Run();
        return 0;
    } catch (...) {
        // Nothing unwinds out of the entry point unseen: the log keeps the reason.
        platform::ReportCurrentException("Main");
        return 1;
    }
}
