#include "domain/quotation_file.h"

#include <algorithm>

namespace velmo {

namespace {

bool IsLineEnd(char32_t c) {
    return c == U'\r' || c == U'\n';
}

bool IsBlankText(TextView text) {
    return std::all_of(text.begin(), text.end(),
                       [](char32_t c) { return c == U' ' || c == U'\t' || IsLineEnd(c); });
}

}  // namespace

QuotationForm QuotationFormOf(const FieldReader::MoreText& more) {
    // Where the scan stands in its line: at its start, after a % that opened
    // it, or anywhere else.
    enum { LineStart, Percent, Other } line = LineStart;
    bool firstSeen = false;
    bool quoted = false;
    Text piece;
    while (more(piece)) {
        for (const char32_t c : piece) {
            if (IsLineEnd(c)) {
                if (line == Percent)
                    return QuotationForm::Fortune;
                line = LineStart;
                continue;
            }
            if (!firstSeen && c != U' ' && c != U'\t') {
                firstSeen = true;
                quoted = c == U'"';
            }
            line = c == U'%' && line == LineStart ? Percent : Other;
        }
        piece.clear();
    }
    if (line == Percent)
        return QuotationForm::Fortune;
    return quoted ? QuotationForm::QuoteList : QuotationForm::Lines;
}

void ForEachFortuneRange(std::string_view bytes,
                         const std::function<void(size_t begin, size_t end)>& fortune) {
    const auto give = [&](size_t begin, size_t end) {
        const std::string_view range = bytes.substr(begin, end - begin);
        if (range.find_first_not_of(" \t\r\n") != std::string_view::npos)
            fortune(begin, end);
    };
    size_t begin = 0;
    for (size_t line = 0; line < bytes.size();) {
        size_t end = line;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        // CR LF, LF or CR alone, as QuotationReader takes them.
        size_t next = end;
        if (next < bytes.size())
            next +=
                bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n' ? 2 : 1;
        if (end - line == 1 && bytes[line] == '%') {
            give(begin, line);
            begin = next;
        }
        line = next;
    }
    give(begin, bytes.size());
}

QuotationReader::QuotationReader(QuotationForm form, FieldReader::MoreText more) : form_(form) {
    if (form == QuotationForm::QuoteList) {
        fields_.emplace(std::move(more));
    } else {
        more_ = std::move(more);
    }
}

bool QuotationReader::TakeMore() {
    // Everything read so far is done with: only the line being read is kept.
    content_.clear();
    pos_ = 0;
    while (content_.empty()) {
        if (!more_(content_))
            return false;
    }
    return true;
}

std::optional<Text> QuotationReader::NextLine() {
    if (!Has())
        return std::nullopt;
    Text line;
    while (Has()) {
        const size_t start = pos_;
        while (pos_ < content_.size() && !IsLineEnd(content_[pos_]))
            ++pos_;
        line.append(content_, start, pos_ - start);
        if (pos_ < content_.size()) {
            // CR LF, LF or CR alone.
            if (content_[pos_++] == U'\r' && Has() && content_[pos_] == U'\n')
                ++pos_;
            break;
        }
    }
    return line;
}

std::optional<Text> QuotationReader::NextFortune() {
    Text quotation;
    // Blank lines since the last line with text: kept only when text follows.
    int blankLines = 0;
    while (const std::optional<Text> line = NextLine()) {
        if (*line == U"%") {
            if (!quotation.empty())
                return quotation;
            blankLines = 0;
            continue;
        }
        if (IsBlankText(*line)) {
            ++blankLines;
            continue;
        }
        if (!quotation.empty()) {
            for (int i = 0; i <= blankLines; ++i)
                quotation += CrLf;
        }
        blankLines = 0;
        quotation += *line;
    }
    if (!quotation.empty())
        return quotation;
    return std::nullopt;
}

std::optional<Text> QuotationReader::Next() {
    switch (form_) {
        case QuotationForm::Fortune:
            return NextFortune();
        case QuotationForm::Lines:
            while (std::optional<Text> line = NextLine()) {
                if (!IsBlankText(*line))
                    return line;
            }
            return std::nullopt;
        case QuotationForm::QuoteList:
            while (!fields_->AtEnd()) {
                Text field = fields_->Next();
                if (!IsBlankText(field))
                    return field;
            }
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace velmo
