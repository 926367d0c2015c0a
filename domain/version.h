#pragma once

// The program's version as text, from the version numbers the build gives.

namespace velmo {

#define VELMO_STR2(x) #x
#define VELMO_STR(x) VELMO_STR2(x)
inline constexpr const char* kVersionText = VELMO_STR(VELMO_VERSION_MAJOR) "." VELMO_STR(
    VELMO_VERSION_MINOR) "." VELMO_STR(VELMO_VERSION_PATCH);
#undef VELMO_STR
#undef VELMO_STR2

}  // namespace velmo
