// How a long piece of work (a scan, a repair run) tells what it is doing and learns whether
// to go on, without knowing who is watching: a window, a test or the benchmark.
#pragma once

#include <string>

namespace core {

class Progress {
  public:
    // False once the user asked to stop; the work then ends at its next check.
    virtual bool Continue() = 0;
    // The item being looked at now. Shown, and pending events run, at the pace a screen can
    // take, not for every call.
    virtual void Looking(const std::string& text) = 0;
    // Lets pending events run at that same pace: where the work lets the user act.
    virtual void KeepResponsive() = 0;

  protected:
    ~Progress() = default;
};

}  // namespace core
