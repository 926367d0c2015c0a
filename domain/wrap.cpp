#include "domain/wrap.h"

namespace velmo {

namespace {

// The next `c` at or after a moving start in a text, found without searching
// the same characters twice: the start only moves forward, so a found position
// stays valid until the start passes it, and "none" stays true for good. The
// whole wrap thus reads the text once per character sought, however long it is.
class NextOf {
  public:
    NextOf(TextView text, char32_t c) : text_(text), c_(c), at_(text.find(c)) {}

    // 1-based position of the first `c` in text[start..], 0 when there is none.
    size_t From(size_t start) {
        if (at_ != TextView::npos && at_ < start)
            at_ = text_.find(c_, start);
        return at_ == TextView::npos ? 0 : at_ - start + 1;
    }

  private:
    TextView text_;
    char32_t c_;
    size_t at_;
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

    size_t start = 0;  // t[start..] is the text not yet consumed
    Text line;
    Text out;
    const auto rest = [&] { return TextView(t).substr(start); };
    NextOf spaces(t, U' ');
    NextOf breaks(t, U'\r');

    while (true) {
        const size_t used = line.size();
        const TextView r = rest();
        const size_t sp = spaces.From(start);
        const size_t cr = breaks.From(start);

        if (cr > 0 && cr + used <= limit) {
            // A line break within reach ends the line there; its LF stays in
            // front of the next word and counts towards the next line.
            out += line;
            out += r.substr(0, cr);
            line.clear();
            start += cr;
            continue;
        }
        if (sp == 0)
            break;
        if (sp + used <= limit) {
            line += r.substr(0, sp);
            start += sp;
            continue;
        }
        if (sp > limit) {
            // A word longer than a whole line.
            if (line.empty() && !r.empty() && r.front() == U'\n' && !out.empty() &&
                out.back() == U'\r') {
                // Keep the pending line break whole before breaking the word.
                out += U'\n';
                start += 1;
                continue;
            }
            out += line;
            out += CrLf;
            line.clear();
            while (true) {
                const size_t space = spaces.From(start);
                const size_t br = breaks.From(start);
                if (space <= limit || (br > 0 && br <= limit))
                    break;
                out += TextView(t).substr(start, limit);
                out += CrLf;
                start += limit;
            }
            continue;
        }
        // The word fits on an empty line: end this one and try again.
        out += line;
        out += CrLf;
        line.clear();
    }

    const TextView last = rest();
    if (line.empty()) {
        out += last;
        out += CrLf;
    } else if (last.size() + line.size() > limit) {
        out += line;
        out += CrLf;
        out += last;
        out += CrLf;
    } else {
        out += line;
        out += last;
        out += CrLf;
    }
    return out;
}

}  // namespace velmo
