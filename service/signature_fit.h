#pragma once

// Signatures kept within a size, as netiquette asks (four lines at most) and
// as a mail program that wraps long lines needs: which quotations of the
// list make a signature that fits.

#include <optional>
#include <vector>

#include "domain/layout.h"
#include "service/signature_session.h"

namespace velmo {

// The largest signature allowed; an unset bound allows any size.
struct SizeLimits {
    std::optional<int> lines = std::nullopt;
    std::optional<int> columns = std::nullopt;

    bool Any() const { return lines.has_value() || columns.has_value(); }
    bool Admit(const SignatureSize& size) const {
        return (!lines || size.lines <= *lines) && (!columns || size.columns <= *columns);
    }
};

// The size of the whole signature with entry `entry` of the session's list,
// laid out with its options and fixed text as Compose lays it out.
SignatureSize EntrySignatureSize(const SignatureSession& session, int entry);

// The entries, from 1 and in order, whose whole signature the limits admit.
std::vector<int> FittingEntries(const SignatureSession& session, const SizeLimits& limits);

}  // namespace velmo
