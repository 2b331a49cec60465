// The command names the host answers itself, in the order it registers them.
#pragma once

#include <cstddef>

// Platform commands, with the three update names right after "…_OPEN_SETTING".
extern const char* const kPlatformCommandNames[];
extern const size_t kPlatformCommandCount;
