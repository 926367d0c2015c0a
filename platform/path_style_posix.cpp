#include "platform/path_style.h"

namespace velmo {

PathStyle NativePathStyle() {
    return PathStyle::Posix;
}

}  // namespace velmo
