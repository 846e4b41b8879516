// Failures that reach the boundary between the program and the operating system. Window
// handlers run inside the window procedure, which the system calls: nothing they throw may
// unwind through it. Both backends call every handler through CallHandler, which catches,
// reports in one line and ends the innermost modal loop; the program goes on.
#pragma once

#include <functional>
#include <string>

namespace platform {

using FailureReport = std::function<void(const std::string& line)>;

// Sets where failures are reported (the program's error log) and returns the report set
// before. Without one, the line goes to the standard error stream.
FailureReport SetFailureReport(FailureReport report);

// Reports the exception being handled as "Error in <where>: <what>". Never throws.
void ReportCurrentException(const std::string& where) noexcept;

// Calls a window handler of `form` for `event` ("Click", "Timer" ...). What it throws is
// reported and ends the innermost modal loop. `form` is a copy on purpose: the handler may
// destroy the window whose data holds the name. False when the handler failed.
template <typename Handler>
bool CallHandler(std::string form, const char* event, Handler&& handler) noexcept;

// The lifetime of one modal loop, which ends early once a handler has failed inside it.
// Loops nest: a failure ends the innermost one running.
class ModalLoopScope {
  public:
    ModalLoopScope();
    ~ModalLoopScope();
    ModalLoopScope(const ModalLoopScope&) = delete;
    ModalLoopScope& operator=(const ModalLoopScope&) = delete;
    bool HandlerFailed() const;

  private:
    int index_;
};

namespace detail {
void HandlerFailed(const std::string& form, const char* event) noexcept;
}

template <typename Handler>
bool CallHandler(std::string form, const char* event, Handler&& handler) noexcept {
    try {
        handler();
        return true;
    } catch (...) {
        detail::HandlerFailed(form, event);
        return false;
    }
}

}  // namespace platform
