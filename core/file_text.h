#pragma once

// The character encoding of the program's own text files (the quote list, the
// fixed text and the plain-text signature). Each platform links exactly one
// implementation, so the rest of the core never deals with bytes.

#include <string>
#include <string_view>

#include "core/text.h"

namespace velmo {

// A text file's bytes as text. Never fails: bytes the encoding cannot carry
// come out as replacement characters rather than being dropped.
Text DecodeFileText(std::string_view bytes);

// Text as the bytes to store in a text file.
std::string EncodeFileText(TextView text);

}  // namespace velmo
