// The wall clock of the machine: local calendar time and Unix time, for the back ends.
#pragma once

#include <cstdint>

#include "base/clock.h"

namespace spellcrypt {

LocalTime LocalNow();
std::int64_t UnixNow();

}  // namespace spellcrypt
