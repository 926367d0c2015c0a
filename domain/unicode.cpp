#include "domain/unicode.h"

namespace velmo::unicode {

namespace {

using G = GraphemeBreak;
using L = LineBreak;
using W = EastAsianWidth;

#include "domain/unicode_tables.inc"

}  // namespace

const char* const kUnicodeVersion = kVersion;

CharProperties PropertiesOf(char32_t c) {
    if (c >= 0x110000)
        c = 0xFFFD;
    return kKinds[kKindsOf[kBlockOf[c >> 8]][c & 0xFF]];
}

}  // namespace velmo::unicode
