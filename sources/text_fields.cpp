#include "sources/text_fields.h"

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

Text FieldReader::Next() {
    size_t start = pos_;
    while (start < content_.size() && IsBlank(content_[start]))
        ++start;
    if (start < content_.size() && content_[start] == U'"') {
        pos_ = start + 1;
        return NextQuoted();
    }
    return NextPlain();
}

Text FieldReader::NextQuoted() {
    Text field;
    while (pos_ < content_.size()) {
        const char32_t c = content_[pos_++];
        if (c == U'"') {
            if (pos_ < content_.size() && content_[pos_] == U'"') {
                field.push_back(U'"');
                ++pos_;
                continue;
            }
            // Closed: whatever stands between the quote and the delimiter is
            // not part of any field.
            while (pos_ < content_.size() && !IsDelimiter(content_[pos_]))
                ++pos_;
            SkipDelimiter();
            return field;
        }
        if (IsLineEnd(c)) {
            // The program holds every line break as CR LF, so a file saved
            // with bare LF or CR reads the same as one saved on Windows.
            if (c == U'\r' && pos_ < content_.size() && content_[pos_] == U'\n')
                ++pos_;
            field.append(CrLf);
            continue;
        }
        field.push_back(c);
    }
    return field;
}

Text FieldReader::NextPlain() {
    const size_t start = pos_;
    while (pos_ < content_.size() && !IsDelimiter(content_[pos_]))
        ++pos_;
    Text field(content_.substr(start, pos_ - start));
    SkipDelimiter();
    return field;
}

void FieldReader::SkipDelimiter() {
    if (pos_ >= content_.size())
        return;
    const char32_t c = content_[pos_++];
    if (c == U'\r' && pos_ < content_.size() && content_[pos_] == U'\n')
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

}  // namespace velmo
