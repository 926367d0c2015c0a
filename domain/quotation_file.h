#pragma once

// Files of quotations that are not the user's own list: a fortune file, a
// plain text with one quotation a line, or a list in Velmo's own format, read
// one quotation at a time so that a file of any length is never held whole as
// quotations.

#include <functional>
#include <optional>
#include <string_view>

#include "domain/text.h"
#include "domain/text_fields.h"

namespace velmo {

// How a file of quotations is laid out.
enum class QuotationForm {
    // Velmo's own list: double-quoted records, fields split at commas and line ends.
    QuoteList,
    // Quotations of one or more lines, each ended by a line holding only %.
    Fortune,
    // One quotation a line.
    Lines,
};

// The form of a file, from its whole text given a piece at a time:
//  - Fortune when a line holds only % (ended by LF, CR LF or CR, or the last
//    line): a fortune may well start with a quote mark;
//  - QuoteList when its first character other than a blank or line end is a
//    double quote, as in every list Velmo writes;
//  - Lines otherwise, so that a plain line with commas stays one quotation.
// Stops taking pieces once a % line is seen.
QuotationForm QuotationFormOf(const FieldReader::MoreText& more);

// The fortunes of a fortune file's bytes in an encoding whose line ends and
// % are single bytes of their ASCII value: the byte range of each, from its
// first line to its % line, those that QuotationReader skips left out. So a
// file of any length is counted and one fortune picked without decoding the
// others.
void ForEachFortuneRange(std::string_view bytes,
                         const std::function<void(size_t begin, size_t end)>& fortune);

// Reads the quotations of a file's text, given a piece at a time, in order.
// Every line break inside a quotation comes out as CR LF. A quotation that
// holds nothing but blanks and line breaks is skipped in every form (a blank
// line, an empty fortune between two % lines, an empty record). A fortune
// drops its blank lines at the start and end; a % inside a line is text.
class QuotationReader {
  public:
    QuotationReader(QuotationForm form, FieldReader::MoreText more);

    // The next quotation; nothing once the text has no more.
    std::optional<Text> Next();

  private:
    // The next line without its line end; nothing at the end of the text.
    std::optional<Text> NextLine();
    std::optional<Text> NextFortune();
    bool Has() { return pos_ < content_.size() || TakeMore(); }
    bool TakeMore();

    QuotationForm form_;
    FieldReader::MoreText more_;
    std::optional<FieldReader> fields_;
    Text content_;
    size_t pos_ = 0;
};

}  // namespace velmo
