// What start-up found, built once and handed to the windows that need it.
#pragma once

#include <optional>

#include "core/exclusions.h"
#include "core/folders.h"
#include "core/language.h"
#include "platform/process.h"

namespace app {

struct Session {
    core::Folders folders;
    core::Language language;
    core::Exclusions exclusions;  // never listed, reported or repaired
    // The problem count of the first scan on this installation, once there was one.
    std::optional<long> firstScanProblems;
    // A "/SCHEDULED" start that is due: the main window scans by itself.
    bool scheduledRun = false;
    // Held by a scheduled run while it lives, so that a second one ends at once.
    platform::MutexHandle scheduledRunGuard;
};

}  // namespace app
