#include "core/platform.h"

namespace velmo {

PathStyle NativePathStyle() {
    return PathStyle::Windows;
}

}  // namespace velmo
