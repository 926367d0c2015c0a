#pragma once

#include <string>
#include <string_view>

namespace velmo {

// All user text in the core is held as code points, so that every length and
// position counts characters, never bytes.
using Text = std::u32string;
using TextView = std::u32string_view;

inline constexpr TextView CrLf = U"\r\n";

// UTF-8 <-> code points. Malformed UTF-8 bytes decode to U+FFFD; code points
// that UTF-8 cannot carry (surrogates, beyond U+10FFFF) encode as U+FFFD.
Text FromUtf8(std::string_view utf8);
std::string ToUtf8(TextView text);

// A file name's bytes as the system gives them <-> code points, losslessly:
// UTF-8 sequences decode as usual, and each byte that is not part of one
// becomes a lone surrogate U+DC80..U+DCFF, which encodes back to that byte.
// So a name in another encoding still names its own file.
Text FromPathBytes(std::string_view bytes);
std::string ToPathBytes(TextView path);

// True when a path holds a byte that is not UTF-8 (see FromPathBytes).
bool HasForeignBytes(TextView path);

// A path for showing to the user: each byte that is not UTF-8 as U+FFFD.
Text PathForDisplay(TextView path);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes to code points; the five unassigned bytes map to the C1
// controls of the same value, as Windows itself does.
Text FromWindows1252(std::string_view bytes);

// The Windows-1252 byte of a code point, or -1 when it has none.
int ToWindows1252(char32_t c);

// A decimal integer as text, no blank and no sign for non-negative values.
Text ToText(long long number);

// The leading number of a text: blanks skipped, an optional sign, digits and
// one decimal point; 0 when there is none. Whatever follows is ignored, so a
// number with a unit or stray characters after it still reads as that number.
double LeadingNumber(TextView text);

// Rounding to the nearest integer, halves to the even neighbour.
long long RoundHalfEven(double value);

// LeadingNumber followed by rounding, the conversion used for widths and indents.
int ToWholeNumber(TextView text);

// The text without leading and trailing blanks (only U+0020).
Text TrimBlanks(TextView text);

// Every CR LF of a text as LF alone; other CRs stay.
Text CrLfToLf(TextView text);

// Text repeated n times; nothing for n <= 0.
Text Repeat(TextView unit, long long n);

}  // namespace velmo
