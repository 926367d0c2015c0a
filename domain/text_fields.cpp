#include "domain/text_fields.h"

namespace velmo {

namespace {

bool IsLineEnd(char32_t c) {
    return c == U'\r' || c == U'\n';
}
bool IsDelimiter(char32_t c) {
    return c == U',' || IsLineEnd(c);
}
bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t';
}

}  // namespace

bool FieldReader::TakeMore() {
    if (!more_)
        return false;
    // Everything read so far is done with: only fields are kept.
    content_.clear();
    pos_ = 0;
    while (content_.empty()) {
        if (!more_(content_))
            return false;
    }
    return true;
}

Text FieldReader::Next() {
    // Blanks before a quote are dropped; without a quote they are the field's.
    Text blanks;
    while (Has() && IsBlank(content_[pos_]))
        blanks.push_back(content_[pos_++]);
    if (Has() && content_[pos_] == U'"') {
        ++pos_;
        return NextQuoted();
    }
    return NextPlain(std::move(blanks));
}

Text FieldReader::NextQuoted() {
    Text field;
    while (Has()) {
        // The plain run up to the next quote or line end, at once.
        const size_t start = pos_;
        while (pos_ < content_.size() && content_[pos_] != U'"' && !IsLineEnd(content_[pos_]))
            ++pos_;
        field.append(content_, start, pos_ - start);
        if (pos_ == content_.size())
            continue;
        const char32_t c = content_[pos_++];
        if (c == U'"') {
            if (Has() && content_[pos_] == U'"') {
                field.push_back(U'"');
                ++pos_;
                continue;
            }
            // Closed: whatever stands between the quote and the delimiter is
            // not part of any field.
            while (Has() && !IsDelimiter(content_[pos_]))
                ++pos_;
            SkipDelimiter();
            return field;
        }
        if (IsLineEnd(c)) {
            // The program holds every line break as CR LF, so a file saved
            // with bare LF or CR reads the same as one saved on Windows.
            if (c == U'\r' && Has() && content_[pos_] == U'\n')
                ++pos_;
            field.append(CrLf);
        }
    }
    return field;
}

Text FieldReader::NextPlain(Text field) {
    while (Has() && !IsDelimiter(content_[pos_])) {
        const size_t start = pos_;
        while (pos_ < content_.size() && !IsDelimiter(content_[pos_]))
            ++pos_;
        field.append(content_, start, pos_ - start);
    }
    SkipDelimiter();
    return field;
}

void FieldReader::SkipDelimiter() {
    if (!Has())
        return;
    const char32_t c = content_[pos_++];
    if (c == U'\r' && Has() && content_[pos_] == U'\n')
        ++pos_;
}

Text QuotedRecord(TextView field) {
    Text record;
    record.reserve(field.size() + 4);
    record.push_back(U'"');
    for (char32_t c : field) {
        if (c == U'"')
            record.push_back(U'"');
        record.push_back(c);
    }
    record.push_back(U'"');
    record.append(CrLf);
    return record;
}

void ReadQuoteList(FieldReader& reader, QuoteList& list,
                   const std::function<void(const Text& field)>& keptAside) {
    int count = 0;
    while (!reader.AtEnd() && (count < QuoteList::kMaxEntries || keptAside)) {
        Text field = reader.Next();
        if (count < QuoteList::kMaxEntries) {
            list.Entries[static_cast<size_t>(++count)] = std::move(field);
        } else {
            // Beyond the list's capacity: kept to be written back, never lost.
            keptAside(field);
        }
    }
    list.EntryCount = count;
}

Text QuoteListText(const QuoteList& list) {
    Text content;
    for (int i = 1; i <= list.EntryCount; ++i)
        content += QuotedRecord(list.At(i));
    return content;
}

std::optional<Text> ReadFixedLines(TextView content, int maxLines) {
    FieldReader reader{Text(content)};
    Text text;
    int count = 0;
    while (!reader.AtEnd()) {
        if (++count > maxLines)
            return std::nullopt;
        if (count > 1)
            text += CrLf;
        text += reader.Next();
    }
    return text;
}

FixedLines FixedLinesText(TextView text, int maxLines) {
    const Text ended = Text(text) + Text(CrLf);
    FixedLines out;
    int count = 0;
    for (size_t pos = 0, p; (p = ended.find(CrLf, pos)) != Text::npos; pos = p + 2) {
        if (++count <= maxLines) {
            out.text += QuotedRecord(TextView(ended).substr(pos, p - pos));
        } else if (p > pos) {
            out.dropped = true;
        }
    }
    return out;
}

}  // namespace velmo
