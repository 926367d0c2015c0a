#include "service/quotation_file.h"

#include "domain/quotation_file.h"
#include "platform/file_text.h"

namespace velmo {

namespace {

// Gives each quotation of the text in `pieces`, none of it taken yet, to
// `take`, in order, until `take` returns false.
void ReadQuotations(FileTextPieces pieces, const std::function<bool(Text&& quotation)>& take) {
    // Decoded a piece at a time, once to tell the form and once to read: a
    // file of thousands of quotations is never held whole as text.
    FileTextPieces scan = pieces;
    const QuotationForm form = QuotationFormOf([&scan](Text& text) { return scan.Next(text); });
    QuotationReader reader(form, [&pieces](Text& text) { return pieces.Next(text); });
    while (std::optional<Text> quotation = reader.Next()) {
        if (!take(std::move(*quotation)))
            break;
    }
}

}  // namespace

FileResult ReadQuotationFile(FileStorePort& files, const Text& path,
                             const std::function<bool(Text&& quotation)>& take) {
    const FileBytes bytes = files.Read(path);
    if (!bytes.has_value())
        return bytes.error();
    ReadQuotations(FileTextPieces(*bytes), take);
    return {};
}

namespace {

// Whether the quotation counted `count` is the one to keep: the entry asked
// for, or, at random, with chance 1/count, which as a reservoir of one leaves
// each of n equally likely at the end.
bool Keep(RandomPort& random, std::optional<int> entry, int count) {
    return entry ? count == *entry : random.Between(1, count) == 1;
}

}  // namespace

QuotationPick PickQuotation(FileStorePort& files, RandomPort& random, const Text& path,
                            std::optional<int> entry) {
    QuotationPick pick;
    const FileBytes bytes = files.Read(path);
    if (!bytes.has_value()) {
        pick.file = bytes.error();
        return pick;
    }
    FileTextPieces pieces(*bytes);
    FileTextPieces scan = pieces;
    if (QuotationFormOf([&scan](Text& text) { return scan.Next(text); }) ==
            QuotationForm::Fortune &&
        pieces.AsciiLineEnds()) {
        // A fortune file is counted in its bytes; only the fortune picked is
        // decoded and read.
        std::optional<std::pair<size_t, size_t>> kept;
        ForEachFortuneRange(pieces.Bytes(), [&](size_t begin, size_t end) {
            if (Keep(random, entry, ++pick.count))
                kept = {begin, end};
        });
        if (kept) {
            pieces.Narrow(kept->first, kept->second);
            QuotationReader reader(QuotationForm::Fortune,
                                   [&pieces](Text& text) { return pieces.Next(text); });
            pick.quotation = reader.Next();
        }
        return pick;
    }
    ReadQuotations(pieces, [&](Text&& quotation) {
        // Read on after the entry: the count is told when it is beyond it.
        if (Keep(random, entry, ++pick.count))
            pick.quotation = std::move(quotation);
        return true;
    });
    return pick;
}

}  // namespace velmo
