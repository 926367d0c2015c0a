#pragma once

// Quotations from a file the user names (velmo-signature --list, the
// editor's import): a fortune file, one quotation a line, or a list in
// Velmo's own format. Such a file is only read, never written.

#include <functional>
#include <optional>

#include "domain/text.h"
#include "platform/ports.h"

namespace velmo {

// Gives each quotation of the file at `path` to `take`, in order, until
// `take` returns false. The file is any readable one, not only the user's own:
// what it holds becomes a quotation, never a setting.
FileResult ReadQuotationFile(FileStorePort& files, const Text& path,
                             const std::function<bool(Text&& quotation)>& take);

// One quotation of a file and how many the file holds.
struct QuotationPick {
    FileResult file;
    int count = 0;
    // The quotation `entry` when it is one of the file's, else a random one
    // when the file has any; empty when there is none.
    std::optional<Text> quotation;
};

// The quotation `entry` (from 1) of the file, or one picked at random, every
// one equally likely, holding no more than the one picked so far.
QuotationPick PickQuotation(FileStorePort& files, RandomPort& random, const Text& path,
                            std::optional<int> entry);

}  // namespace velmo
