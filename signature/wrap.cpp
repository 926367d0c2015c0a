#include "signature/wrap.h"

namespace velmo {

namespace {

// 1-based position of the first `c` in `s`, 0 when there is none.
size_t Position(TextView s, char32_t c) {
    const size_t p = s.find(c);
    return p == TextView::npos ? 0 : p + 1;
}

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

    while (true) {
        const size_t used = line.size();
        const TextView r = rest();
        const size_t sp = Position(r, U' ');
        const size_t cr = Position(r, U'\r');

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
                const TextView w = rest();
                const size_t space = Position(w, U' ');
                const size_t br = Position(w, U'\r');
                if (space <= limit || (br > 0 && br <= limit))
                    break;
                out += w.substr(0, limit);
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

Text WrapText(TextView text, TextView width) {
    return WrapText(text, ToWholeNumber(width));
}

}  // namespace velmo
