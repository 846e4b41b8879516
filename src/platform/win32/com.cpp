#include <objbase.h>

#include "platform/com.h"

namespace platform {

// S_FALSE (entered before) counts too: every successful call needs its CoUninitialize.
ComApartment::ComApartment()
    : entered_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComApartment::~ComApartment() {
    if (entered_) ::CoUninitialize();
}

}  // namespace platform
