// The weekly scan as the machine keeps it: the start-up entry, and for an administrator the
// log-on task that starts it with the rights the Run list cannot give.
#pragma once

#include <string>

namespace app {

// Stores the choice and makes the machine's start-up list hold the weekly scan's entry, or
// not; with elevated rights the log-on task too. Without the right to write the entry the
// setting is still stored: the user is not told.
void ApplyWeeklyScan(bool weeklyScan);

// The start-up entry of the weekly scan: the program's quoted path and "/SCHEDULED".
std::string ScheduledRunCommand();

}  // namespace app
