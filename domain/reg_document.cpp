#include "domain/reg_document.h"

#include <algorithm>

namespace velmo {

namespace {

constexpr TextView kHeader = U"REGEDIT4";

char32_t FoldChar(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 0x20 : c;
}

bool SameName(TextView a, TextView b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    }
    return true;
}

constexpr char32_t kHexDigits[] = U"0123456789ABCDEF";

int HexValue(char32_t c) {
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A') + 10;
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a') + 10;
    return -1;
}

// The byte of "\xNN" when `pos` is on its x and NN are two hex digits; else -1.
// A file name byte that is not UTF-8 is kept in a string this way, so that the
// file stays UTF-8 text and the name reads back as the same bytes.
int ForeignByteAt(TextView line, size_t pos) {
    if (line[pos] != U'x' || pos + 2 >= line.size())
        return -1;
    const int high = HexValue(line[pos + 1]);
    const int low = HexValue(line[pos + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// Reads a quoted string with backslash escapes from `line` at `pos` (on the
// opening quote); leaves `pos` after the closing quote.
std::optional<Text> ReadQuoted(TextView line, size_t& pos) {
    if (pos >= line.size() || line[pos] != U'"')
        return std::nullopt;
    Text out;
    for (++pos; pos < line.size(); ++pos) {
        const char32_t c = line[pos];
        if (c == U'"') {
            ++pos;
            return out;
        }
        if (c == U'\\') {
            if (++pos == line.size())
                return std::nullopt;
            const char32_t e = line[pos];
            if (const int byte = ForeignByteAt(line, pos); byte >= 0x80) {
                out += FromPathBytes(std::string(1, static_cast<char>(byte)));
                pos += 2;
                continue;
            }
            out += e == U'n' ? U'\n' : e == U'r' ? U'\r' : e;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

Text Quote(TextView text) {
    Text out = U"\"";
    for (char32_t c : text) {
        if (c == U'\\' || c == U'"') {
            out += U'\\';
            out += c;
        } else if (HasForeignBytes(TextView(&c, 1))) {
            out += U"\\x";
            out += kHexDigits[(c >> 4) & 15];
            out += kHexDigits[c & 15];
        } else if (c == U'\n') {
            out += U"\\n";
        } else if (c == U'\r') {
            out += U"\\r";
        } else {
            out += c;
        }
    }
    return out + U"\"";
}

// The lines are views into `content`.
std::vector<TextView> SplitLines(TextView content) {
    std::vector<TextView> lines;
    size_t pos = 0;
    // The line end of the last line starts no further, empty line: a value
    // continued by a backslash at the end of the file would take that in, and
    // the file formatted from it would read differently.
    while (pos < content.size() || lines.empty()) {
        size_t end = content.find(U'\n', pos);
        if (end == TextView::npos)
            end = content.size();
        TextView line = content.substr(pos, end - pos);
        // A CR of CR LF, and blanks a hand edit may leave after a line, mean nothing.
        while (!line.empty() &&
               (line.back() == U'\r' || line.back() == U' ' || line.back() == U'\t'))
            line.remove_suffix(1);
        lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

}  // namespace

Text FoldCase(TextView text) {
    Text out(text);
    for (char32_t& c : out)
        c = FoldChar(c);
    return out;
}

RegKey* RegDocument::Find(TextView path) {
    for (RegKey& k : keys) {
        if (SameName(k.path, path))
            return &k;
    }
    return nullptr;
}

bool RegDocument::Contains(TextView path) const {
    const Text folded = FoldCase(path) + U"\\";
    for (const RegKey& k : keys) {
        const Text key = FoldCase(k.path) + U"\\";
        if (key.compare(0, folded.size(), folded) == 0)
            return true;
    }
    return false;
}

RegKey& RegDocument::Ensure(TextView path, TextView root) {
    if (RegKey* existing = Find(path))
        return *existing;
    // List the ancestors below the root first, as an export of the root would.
    for (size_t p = root.size() + 1; p < path.size(); ++p) {
        if (path[p] != U'\\')
            continue;
        const TextView ancestor = path.substr(0, p);
        if (!Find(ancestor))
            keys.push_back({Text(ancestor), {}});
    }
    keys.push_back({Text(path), {}});
    return keys.back();
}

std::optional<RegDocument> ParseRegDocument(TextView content) {
    if (!content.empty() && content.front() == U'\uFEFF')
        content.remove_prefix(1);
    const std::vector<TextView> lines = SplitLines(content);
    if (lines.empty() || lines[0] != kHeader)
        return std::nullopt;

    RegDocument doc;
    for (size_t i = 1; i < lines.size(); ++i) {
        // Leading blanks too, except on the continued lines of a value below.
        const TextView line =
            lines[i].substr(std::min(lines[i].find_first_not_of(U" \t"), lines[i].size()));
        if (line.empty())
            continue;
        if (line.front() == U';')
            continue;  // a comment
        if (line.front() == U'[') {
            if (line.back() != U']' || line.size() < 3)
                return std::nullopt;
            doc.keys.push_back({Text(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        if (doc.keys.empty())
            return std::nullopt;

        RegValue value;
        size_t pos = 0;
        if (line.front() == U'@') {
            value.isDefault = true;
            pos = 1;
        } else {
            std::optional<Text> name = ReadQuoted(line, pos);
            if (!name)
                return std::nullopt;
            value.name = std::move(*name);
        }
        if (pos >= line.size() || line[pos] != U'=')
            return std::nullopt;
        ++pos;
        if (pos < line.size() && line[pos] == U'"') {
            std::optional<Text> text = ReadQuoted(line, pos);
            if (!text || pos != line.size())
                return std::nullopt;
            value.text = std::move(*text);
        } else {
            // Another type of value; a trailing backslash continues it on the next line.
            value.raw = line.substr(pos);
            while (!value.raw.empty() && value.raw.back() == U'\\' && i + 1 < lines.size()) {
                value.raw += U"\r\n";
                value.raw += lines[++i];
            }
            if (value.raw.empty())
                return std::nullopt;
        }
        doc.keys.back().values.push_back(std::move(value));
    }
    return doc;
}

Text FormatRegDocument(const RegDocument& document) {
    Text out = Text(kHeader) + U"\r\n";
    for (const RegKey& key : document.keys) {
        out += U"\r\n[" + key.path + U"]\r\n";
        for (const RegValue& v : key.values) {
            out += v.isDefault ? Text(U"@") : Quote(v.name);
            out += U"=";
            out += v.text ? Quote(*v.text) : v.raw;
            out += U"\r\n";
        }
    }
    return out;
}

}  // namespace velmo
