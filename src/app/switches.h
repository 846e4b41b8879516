// The program's command line: the window, a scheduled start, or an unattended run.
#pragma once

#include <string>
#include <variant>

#include "repair/actions.h"

namespace app {

enum class Mode {
    Window,     // no switch: the main window
    Scheduled,  // /SCHEDULED: the window's weekly scan
    Scan,       // /SCAN: scan, report, exit code
    Repair,     // /REPAIR:CONSERVATIVE|AGGRESSIVE: scan, repair everything, report
    Undo,       // /UNDO:LATEST|<run>: restore what a repair run changed, report
};

struct Invocation {
    Mode mode = Mode::Window;
    repair::Method method = repair::Method::Conservative;
    bool backUp = true;      // /NOBACKUP turns the registry backup off
    std::string reportPath;  // /REPORT:<file>, its environment variables expanded
    std::string run;         // /UNDO's run stamp; empty for the latest run

    // Whether the run has no window: /SCAN, /REPAIR or /UNDO.
    bool Unattended() const {
        return mode == Mode::Scan || mode == Mode::Repair || mode == Mode::Undo;
    }
};

// The switches of `arguments`, in any letter case and order; a one-line reason when they are
// wrong (an unknown switch, a report path that is missing or in use by /SCHEDULED alone...).
std::variant<Invocation, std::string> ParseSwitches(const std::string& arguments);

// The exit codes of the unattended runs.
enum ExitCode : int {
    kExitClean = 0,            // nothing found, everything repaired, or everything restored
    kExitFound = 1,            // /SCAN found problems
    kExitLeft = 2,             // /REPAIR left some problems, /UNDO did not restore everything
    kExitBackupFailed = 3,     // the registry backup failed: nothing was changed
    kExitBadCommandLine = 87,  // ERROR_INVALID_PARAMETER; for /UNDO also: no such run
};

}  // namespace app
