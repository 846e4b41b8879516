// What start-up found, built once and handed to the windows that need it.
#pragma once

#include <optional>

#include "core/folders.h"
#include "core/language.h"

namespace app {

struct Session {
    core::Folders folders;
    core::Language language;
    // The problem count of the first scan on this installation, once there was one.
    std::optional<long> firstScanProblems;
    // A "/SCHEDULED" start that is due: the main window scans by itself.
    bool scheduledRun = false;
};

}  // namespace app
