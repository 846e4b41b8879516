// The program's own names, in one place.
#pragma once

namespace base {

// The main window's caption and the title of message boxes that name none.
inline constexpr const char* kProductTitle = "Tallowquince Purgelint";

// The start-up lists, under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER; the weekly scan's
// entry sits in the machine's one.
inline constexpr const char* kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace base
