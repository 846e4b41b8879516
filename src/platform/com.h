// The COM apartment of the UI thread. The entry point holds one for the life of the
// program: the shell's objects (shortcut files) live in a single-threaded apartment.
#pragma once

namespace platform {

class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // False when the thread could not enter it; COM calls then fail on their own.
    bool Entered() const { return entered_; }

  private:
    bool entered_ = false;
};

}  // namespace platform
