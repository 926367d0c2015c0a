#pragma once

#include "domain/paths.h"

namespace velmo {

// The form of paths on this platform; each platform links one definition.
PathStyle NativePathStyle();

}  // namespace velmo
