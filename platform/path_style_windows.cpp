#include "platform/path_style.h"

namespace velmo {

PathStyle NativePathStyle() {
    return PathStyle::Windows;
}

}  // namespace velmo
