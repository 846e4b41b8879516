// The text helpers of the system's code: the platform's, under their short names.
#pragma once

#include "platform/text.h"

using platform::Trim;
using platform::UpperCase;
