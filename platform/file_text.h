#pragma once

// The character encoding of the program's own text files (the quote list, the
// fixed text and the plain-text signature). Each platform links exactly one
// implementation, so the rest of the core never deals with bytes.

#include <cstddef>
#include <string>
#include <string_view>

#include "domain/text.h"

namespace velmo {

// A text file's bytes as text. A leading byte-order mark (UTF-8, UTF-16 LE or
// BE) is dropped and decides the encoding; without one, the platform's own
// reading applies. Never fails and drops nothing: what cannot be decoded (an
// unpaired UTF-16 surrogate, a last odd byte) comes out as U+FFFD.
Text DecodeFileText(std::string_view bytes);

// A text file's bytes as text a piece at a time, read as DecodeFileText
// reads them whole, so that a reader that needs only the start of a large
// file never decodes the rest. The bytes must outlive it.
class FileTextPieces {
  public:
    // Each piece is the text of about `pieceSize` bytes of the file.
    explicit FileTextPieces(std::string_view bytes, size_t pieceSize = size_t{1} << 16);

    // Appends the next piece to `text`; false, appending nothing, once the
    // whole file has been given.
    bool Next(Text& text);

    // The bytes of the text, after any byte-order mark; before the first piece.
    std::string_view Bytes() const { return bytes_; }
    // Whether CR, LF and the ASCII characters are single bytes of their own
    // value that no other character's bytes contain (UTF-8, the 8-bit and the
    // ANSI code pages; not UTF-16), so that lines may be found in Bytes().
    bool AsciiLineEnds() const { return form_ != Form::Utf16Le && form_ != Form::Utf16Be; }
    // Gives only Bytes()[begin, end) from now on, read as the whole file is.
    void Narrow(size_t begin, size_t end) { bytes_ = bytes_.substr(begin, end - begin); }

  private:
    // As a byte-order mark says, or the platform's reading of a file without
    // one (Legacy: its old 8-bit code page throughout).
    enum class Form : unsigned char { Utf8, Utf16Le, Utf16Be, Native, Legacy };

    std::string_view bytes_;
    size_t pieceSize_;
    Form form_ = Form::Native;
};

// A text with CR LF line breaks in the line ends of the platform, for what
// other programs read: LF on POSIX, CR LF on Windows.
Text NativeLineEnds(TextView text);

// Text as the bytes to store in a text file, followed by `utf8Tail`: more
// text, already in UTF-8 (records kept as read), that the file holds after it
// in the same encoding.
std::string EncodeFileText(TextView text, std::string_view utf8Tail = {});

}  // namespace velmo
