#include "service/quotation_file.h"

#include "domain/quotation_file.h"
#include "platform/file_text.h"

namespace velmo {

FileResult ReadQuotationFile(FileStorePort& files, const Text& path,
                             const std::function<bool(Text&& quotation)>& take) {
    const FileBytes bytes = files.Read(path);
    if (!bytes.has_value())
        return bytes.error();
    // Decoded a piece at a time, once to tell the form and once to read: a
    // file of thousands of quotations is never held whole as text.
    FileTextPieces scan(*bytes);
    const QuotationForm form = QuotationFormOf([&scan](Text& text) { return scan.Next(text); });
    FileTextPieces pieces(*bytes);
    QuotationReader reader(form, [&pieces](Text& text) { return pieces.Next(text); });
    while (std::optional<Text> quotation = reader.Next()) {
        if (!take(std::move(*quotation)))
            break;
    }
    return {};
}

QuotationPick PickQuotation(FileStorePort& files, RandomPort& random, const Text& path,
                            std::optional<int> entry) {
    QuotationPick pick;
    pick.file = ReadQuotationFile(files, path, [&](Text&& quotation) {
        ++pick.count;
        if (entry) {
            if (pick.count == *entry)
                pick.quotation = std::move(quotation);
            return true;  // read on: the count is told when the entry is beyond it
        }
        // Reservoir of one: the k-th replaces the one held with chance 1/k,
        // which leaves each of n equally likely at the end.
        if (random.Between(1, pick.count) == 1)
            pick.quotation = std::move(quotation);
        return true;
    });
    return pick;
}

}  // namespace velmo
