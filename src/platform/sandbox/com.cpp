// The sandbox has no COM: its shortcut files are its own. The apartment is always entered.
#include "platform/com.h"

namespace platform {

ComApartment::ComApartment() : entered_(true) {}

ComApartment::~ComApartment() = default;

}  // namespace platform
