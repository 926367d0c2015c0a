#pragma once

// The size of the signature shown beside each preview, and a warning when a
// mail program would break its lines.

#include "domain/layout.h"
#include "domain/text.h"

namespace velmo {

struct App;

// Thunderbird and most mail programs wrap plain text at 72 columns, which
// breaks the right border of a wider bordered signature.
inline constexpr int kMailWrapColumns = 72;

struct SizeCaptions {
    Text size;     // "N lines, M columns"
    Text warning;  // empty when the signature fits a mail program's lines
    bool operator==(const SizeCaptions&) const = default;
};

// Counted as velmo-signature --max-lines and --max-width count them.
SizeCaptions SignatureSizeCaptions(const SignatureSize& size);

// The captions of the signature just built, beside the four previews.
void ShowSignatureSize(App& app, TextView signature);

}  // namespace velmo
