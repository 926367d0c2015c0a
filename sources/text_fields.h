#pragma once

// The field format shared by the quote list and the fixed text file: a
// sequence of fields separated by line ends or commas, each either quoted
// (and then free to span lines) or plain (up to the next comma or line end).

#include <utility>

#include "core/text.h"

namespace velmo {

// Reads the fields of a file's text one at a time, in order.
//
// A quoted field runs to the closing quote; a doubled quote inside stands for
// one quote, and what follows the closing quote up to the next comma or line
// end is skipped. Line breaks inside come out as CR LF whatever the file used.
// A plain field keeps its blanks and runs to the next comma or line end (CR LF,
// LF or CR alone). A blank line is an empty field. A quote that is never
// closed takes the rest of the text.
class FieldReader {
  public:
    // Holds its own copy, so a temporary text may be passed.
    explicit FieldReader(Text content) : content_(std::move(content)) {}

    // True once the text has no further field; the line end after the last
    // field does not start another one.
    bool AtEnd() const { return pos_ >= content_.size(); }

    // The next field; empty at the end.
    Text Next();

  private:
    Text NextQuoted();
    Text NextPlain();
    // Consumes the comma or line end at the position, if any.
    void SkipDelimiter();

    Text content_;
    size_t pos_ = 0;
};

// One field as a quoted record with its line end, in the form FieldReader
// gives back exactly (quotes inside are doubled).
Text QuotedRecord(TextView field);

}  // namespace velmo
