#include "core/platform.h"

namespace velmo {

PathStyle NativePathStyle() {
    return PathStyle::Posix;
}

}  // namespace velmo
