#pragma once

// The character encoding of the program's own text files (the quote list, the
// fixed text and the plain-text signature). Each platform links exactly one
// implementation, so the rest of the core never deals with bytes.

#include <string>
#include <string_view>

#include "domain/text.h"

namespace velmo {

// A text file's bytes as text. A leading byte-order mark (UTF-8, UTF-16 LE or
// BE) is dropped and decides the encoding; without one, the platform's own
// reading applies. Never fails and drops nothing: what cannot be decoded (an
// unpaired UTF-16 surrogate, a last odd byte) comes out as U+FFFD.
Text DecodeFileText(std::string_view bytes);

// A text with CR LF line breaks in the line ends of the platform, for what
// other programs read: LF on POSIX, CR LF on Windows.
Text NativeLineEnds(TextView text);

// Text as the bytes to store in a text file.
std::string EncodeFileText(TextView text);

}  // namespace velmo
