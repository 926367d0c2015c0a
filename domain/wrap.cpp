#include "domain/wrap.h"

#include <vector>

#include "domain/columns.h"
#include "domain/line_break.h"

namespace velmo {

namespace {

// The text to wrap, measured once: where its grapheme clusters begin, the
// display columns before each position, and the places a line may end.
// Every later question is a look-up, so wrapping stays linear in the text.
class MeasuredText {
  public:
    explicit MeasuredText(TextView text)
        : text_(text), columnsBefore_(text.size() + 1, 0), clusterStart_(text.size() + 1, false) {
        bool wide = false;  // the cluster before the one being read is wide
        bool anyWide = false;
        std::vector<bool> wideAround(text.size() + 1, false);
        size_t columns = 0;
        for (size_t i = 0; i < text.size();) {
            size_t end = i + 1;
            int width = 1;
            // Printable ASCII before a character below U+0300 (where the
            // first combining marks are) is a cluster of one column: most
            // text needs no table.
            const bool plain =
                text[i] >= U' ' && text[i] <= U'~' && (end == text.size() || text[end] < 0x300);
            // CR LF is one cluster, but a line may end between its two characters.
            if (!plain && text[i] != U'\r' && text[i] != U'\n') {
                end = NextClusterEnd(text, i);
                width = ClusterColumns(text.substr(i, end - i));
            }
            anyWide = anyWide || width > 1;
            clusterStart_[i] = true;
            wideAround[i] = wide || width > 1;
            wide = width > 1;
            for (size_t j = i + 1; j <= end; ++j)
                columnsBefore_[j] = columns;
            columns += static_cast<size_t>(width);
            columnsBefore_[end] = columns;
            i = end;
        }
        clusterStart_[text.size()] = true;

        // A line ends after a space, at a CR, or where text runs on without a
        // space past a wide character and Unicode allows a break there (as
        // between ideographs).
        // Text without a wide character has no such breaks to look for.
        const std::vector<bool> allowed =
            anyWide ? LineBreakOpportunities(text) : std::vector<bool>(text.size() + 1, false);
        for (size_t i = 0; i < text.size(); ++i) {
            const char32_t c = text[i];
            if (c == U' ' && clusterStart_[i + 1])
                spaces_.push_back(i);
            else if (c == U'\r')
                crs_.push_back(i);
            if (i > 0 && clusterStart_[i] && allowed[i] && wideAround[i] && !IsBlank(text[i - 1]) &&
                !IsBlank(c))
                breaks_.push_back(i);
        }
    }

    TextView Text() const { return text_; }

    // Columns from `from` to `to`, both cluster boundaries.
    size_t Columns(size_t from, size_t to) const {
        return columnsBefore_[to] - columnsBefore_[from];
    }

    // The end of the last cluster that starts at or after `from` and ends
    // within `columns` columns of it; at least one cluster.
    size_t FitIn(size_t from, size_t columns) const {
        size_t end = from + 1;
        while (!clusterStart_[end])
            ++end;
        for (size_t next = end + 1; next <= text_.size(); ++next) {
            if (!clusterStart_[next])
                continue;
            if (Columns(from, next) > columns)
                break;
            end = next;
        }
        return end;
    }

    // Columns up to and including the first CR at or after `start`; 0 when
    // there is none.
    size_t ToCr(size_t start) { return Through(crs_, nextCr_, start); }

    // The end of the word that starts at `start`: after its space, or at a
    // break inside a run of text without spaces; 0 when neither follows.
    size_t WordEnd(size_t start) {
        while (nextBreak_ < breaks_.size() && breaks_[nextBreak_] <= start)
            ++nextBreak_;
        while (nextSpace_ < spaces_.size() && spaces_[nextSpace_] < start)
            ++nextSpace_;
        const size_t space = nextSpace_ < spaces_.size() ? spaces_[nextSpace_] + 1 : 0;
        const size_t brk = nextBreak_ < breaks_.size() ? breaks_[nextBreak_] : 0;
        if (space == 0 || (brk != 0 && brk < space))
            return brk;
        return space;
    }

  private:
    static bool IsBlank(char32_t c) { return c == U' ' || c == U'\r' || c == U'\n'; }

    size_t Through(const std::vector<size_t>& at, size_t& next, size_t start) const {
        while (next < at.size() && at[next] < start)
            ++next;
        return next < at.size() ? Columns(start, at[next] + 1) : 0;
    }

    TextView text_;
    std::vector<size_t> columnsBefore_;
    std::vector<bool> clusterStart_;
    std::vector<size_t> spaces_, crs_, breaks_;
    size_t nextSpace_ = 0, nextCr_ = 0, nextBreak_ = 0;
};

}  // namespace

Text WrapText(TextView text, int width) {
    const Text t = TrimBlanks(text);
    const long long wrapLimit = static_cast<long long>(width) - 1;
    if (wrapLimit < 1) {
        // No room for a single character: hand the text back unwrapped.
        return t + Text(CrLf);
    }
    const auto limit = static_cast<size_t>(wrapLimit);

    MeasuredText m(t);
    size_t start = 0;  // t[start..] is the text not yet consumed
    Text line;
    size_t used = 0;  // the columns of `line`
    Text out;
    const auto take = [&](size_t end) {
        const TextView taken = TextView(t).substr(start, end - start);
        start = end;
        return taken;
    };

    while (true) {
        const size_t cr = m.ToCr(start);
        if (cr > 0 && cr + used <= limit) {
            // A line break within reach ends the line there; its LF stays in
            // front of the next word and counts towards the next line.
            out += line;
            out += take(t.find(U'\r', start) + 1);
            line.clear();
            used = 0;
            continue;
        }
        const size_t wordEnd = m.WordEnd(start);
        if (wordEnd == 0)
            break;
        const size_t word = m.Columns(start, wordEnd);
        if (word + used <= limit) {
            line += take(wordEnd);
            used += word;
            continue;
        }
        if (word > limit) {
            // A word longer than a whole line.
            if (line.empty() && t[start] == U'\n' && !out.empty() && out.back() == U'\r') {
                // Keep the pending line break whole before breaking the word.
                out += take(start + 1);
                continue;
            }
            out += line;
            out += CrLf;
            line.clear();
            used = 0;
            // Cut it into full lines, at cluster boundaries, until the rest
            // ends within a line or holds a line break within reach.
            while (true) {
                const size_t end = m.WordEnd(start);
                const size_t br = m.ToCr(start);
                if (end == 0 || m.Columns(start, end) <= limit || (br > 0 && br <= limit))
                    break;
                out += take(m.FitIn(start, limit));
                out += CrLf;
            }
            continue;
        }
        // The word fits on an empty line: end this one and try again.
        out += line;
        out += CrLf;
        line.clear();
        used = 0;
    }

    const size_t last = m.Columns(start, t.size());
    if (line.empty()) {
        out += take(t.size());
        out += CrLf;
    } else if (last + used > limit) {
        out += line;
        out += CrLf;
        out += take(t.size());
        out += CrLf;
    } else {
        out += line;
        out += take(t.size());
        out += CrLf;
    }
    return out;
}

}  // namespace velmo
