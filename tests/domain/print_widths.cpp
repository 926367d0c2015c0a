// Prints "code point<TAB>columns" for every code point on its own, for the
// comparison of tests/domain/widths_check.py.
#include <cstdio>

#include "domain/columns.h"

int main() {
    for (char32_t c = 0; c < 0x110000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const char32_t one[] = {c};
        std::printf("%X\t%d\n", static_cast<unsigned>(c),
                    velmo::ClusterColumns(velmo::TextView(one, 1)));
    }
}
