// The program's start: the settings and folders it reads, the start it logs, and the
// decision whether a scheduled start goes on.
#pragma once

#include <optional>
#include <string>

#include "app/session.h"
#include "platform/clock.h"

namespace app {

// The session of this start; nothing when a scheduled start is not due and the program is
// to end at once. `commandLine` is the program's arguments.
std::optional<Session> Start(const std::string& commandLine, const platform::SystemTime& today);

}  // namespace app
