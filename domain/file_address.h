#pragma once

#include "domain/paths.h"
#include "domain/text.h"

namespace velmo {

// The address of a full path as a browser takes it: file:///C:/a%20b for
// C:\a b; every byte of the UTF-8 path but letters, digits, "-._~", "/" and
// the drive's ":" percent-encoded.
Text FileAddress(TextView path, PathStyle style);

}  // namespace velmo
