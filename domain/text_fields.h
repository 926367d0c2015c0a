#pragma once

// The field format shared by the quote list and the fixed text file: a
// sequence of fields separated by line ends or commas, each either quoted
// (and then free to span lines) or plain (up to the next comma or line end).

#include <functional>
#include <optional>
#include <utility>

#include "domain/quote_list.h"
#include "domain/text.h"

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
    // Appends the next piece of the text to `text`; false once there is no
    // more.
    using MoreText = std::function<bool(Text& text)>;

    // Holds its own copy, so a temporary text may be passed.
    explicit FieldReader(Text content) : content_(std::move(content)) {}
    // Takes the text a piece at a time, as far as the fields asked for go,
    // and holds no more of it than a piece and the field being read.
    explicit FieldReader(MoreText more) : more_(std::move(more)) {}

    // True once the text has no further field; the line end after the last
    // field does not start another one.
    bool AtEnd() { return !Has(); }

    // The next field; empty at the end.
    Text Next();

  private:
    Text NextQuoted();
    Text NextPlain(Text field);
    // Consumes the comma or line end at the position, if any.
    void SkipDelimiter();
    // Whether a character is at the position, taking the next piece if needed.
    bool Has() { return pos_ < content_.size() || TakeMore(); }
    bool TakeMore();

    Text content_;
    size_t pos_ = 0;
    MoreText more_;
};

// One field as a quoted record with its line end, in the form FieldReader
// gives back exactly (quotes inside are doubled).
Text QuotedRecord(TextView field);

// The quote list of `reader`'s text: the first 200 fields are the entries.
// Each later field is given to `keptAside` as it is read, to be written back;
// without it the reading stops after the 200th.
void ReadQuoteList(FieldReader& reader, QuoteList& list,
                   const std::function<void(const Text& field)>& keptAside = nullptr);

// The file text of the entries of a quote list, without those kept aside.
Text QuoteListText(const QuoteList& list);

// The lines of a fixed text file joined by CR LF; nothing when the file has
// more than `maxLines`.
std::optional<Text> ReadFixedLines(TextView content, int maxLines);

// The file text of a fixed text: its first `maxLines` lines, and whether a
// later line had text, which was dropped.
struct FixedLines {
    Text text;
    bool dropped = false;
};
FixedLines FixedLinesText(TextView text, int maxLines);

}  // namespace velmo
