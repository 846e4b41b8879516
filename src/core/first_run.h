// One-time notes for the companion updater Novaroll.exe in the machine-wide RunOnce list.
#pragma once

#include <optional>

namespace core {

// "update_purgelint2": the program has been started for the first time.
void HandOffFirstRun();
// "update_purgelint3": the first scan's problem count; none for a cancelled scan (handed over as
// "C").
void HandOffFirstErrors(std::optional<long> count);

}  // namespace core
