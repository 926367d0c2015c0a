#pragma once

// The round of "No repeats until all are used": every quotation of the list
// is picked once before any comes back, and a new round never begins with the
// quotation the last one ended with.
//
// A quotation is known by its text and by which of the equal texts it is, so
// the round survives edits of the list: a quotation added or edited is
// unused, one deleted is forgotten, and moving entries changes nothing.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "domain/text.h"

namespace velmo {

using QuotationKey = std::uint64_t;

// The keys of `quotations`, in their order.
std::vector<QuotationKey> QuotationKeys(const std::vector<TextView>& quotations);

struct PickRound {
    // The quotations picked in this round, in the order they were picked.
    std::vector<QuotationKey> used;

    bool operator==(const PickRound&) const = default;
};

// A number from 0 to count - 1, every one equally likely.
using UniformBelow = std::function<int(int count)>;

// Picks among the `candidates` (indexes into `keys`, the whole list's
// quotations) one that is unused in the round, every one equally likely, and
// records it. When every quotation of the list is used a new round begins,
// whose first pick is not the one picked last while another can be. When
// only the candidates' unused ones run out (velmo-signature choosing by
// size), a used candidate is taken within the round, the latest pick last of
// all. Quotations no longer in the list are forgotten. Returns the index
// picked, or nothing when there are no candidates.
std::optional<int> PickInRound(PickRound& round, const std::vector<QuotationKey>& keys,
                               const std::vector<int>& candidates, const UniformBelow& uniform);

// The round as its file holds it, and back. A text that is not one is
// nothing: the caller begins a new round.
std::string FormatPickRound(const PickRound& round);
std::optional<PickRound> ParsePickRound(std::string_view bytes);

}  // namespace velmo
