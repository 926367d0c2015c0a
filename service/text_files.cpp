#include "service/text_files.h"

#include <functional>

#include "domain/text_fields.h"
#include "platform/file_text.h"

namespace velmo {

FileResult ReadQuoteListFile(FileStorePort& files, const Text& path, QuoteList& list,
                             LaterEntries later) {
    FileResult result;
    const std::optional<std::string> bytes = files.ReadOwn(path, result);
    if (!bytes)
        return result;
    TakeQuoteListFile(path, *bytes, list, later);
    return result;
}

void TakeQuoteListFile(const Text& path, std::string_view bytes, QuoteList& list,
                       LaterEntries later) {
    // Decoded a piece at a time: a list far longer than 200 entries is never
    // held whole as text.
    FileTextPieces pieces(bytes);
    FieldReader reader([&pieces](Text& text) { return pieces.Next(text); });
    std::string kept;
    std::function<void(const Text&)> keep;
    if (later == LaterEntries::Kept) {
        keep = [&kept, &bytes](const Text& field) {
            if (kept.empty())
                kept.reserve(bytes.size());
            kept += EncodeFileText(NativeLineEnds(QuotedRecord(field)));
        };
    }
    ReadQuoteList(reader, list, keep);
    list.KeptAside = std::move(kept);
    list.LoadedPath = path;
    list.LoadedFile = FingerprintOf(bytes);
    list.LoadedList = FingerprintOf(QuoteListText(list));
}

FileResult WriteQuoteListFile(FileStorePort& files, const Text& path, QuoteList& list) {
    const Text content = QuoteListText(list);
    // Records end in a line break, so the entries kept aside follow whole.
    const std::string bytes = EncodeFileText(NativeLineEnds(content)) + list.KeptAside;
    const FileResult result = files.Replace(path, bytes);
    if (result) {
        list.LoadedPath = path;
        list.LoadedFile = FingerprintOf(bytes);
        list.LoadedList = FingerprintOf(content);
    }
    return result;
}

bool QuoteListEdited(const QuoteList& list) {
    return FingerprintOf(QuoteListText(list)) != list.LoadedList;
}

FileSince CompareFile(FileStorePort& files, const Text& path, const Fingerprint& known,
                      std::string& bytes, FileResult& result) {
    std::optional<std::string> now = files.ReadOwn(path, result);
    if (!now)
        return result.Missing() ? FileSince::Missing : FileSince::Unreadable;
    if (FingerprintOf(*now) == known)
        return FileSince::Same;
    bytes = std::move(*now);
    return FileSince::Changed;
}

FixedRead ReadFixedFile(FileStorePort& files, const Text& path, Text& text, FileResult& result,
                        Fingerprint* read) {
    const std::optional<std::string> bytes = files.ReadOwn(path, result);
    if (!bytes)
        return FixedRead::Unreadable;
    if (read != nullptr)
        *read = FingerprintOf(*bytes);
    return FixedTextOf(*bytes, text);
}

FixedRead FixedTextOf(std::string_view bytes, Text& text) {
    std::optional<Text> lines = ReadFixedLines(DecodeFileText(bytes), kMaxFixedLines);
    if (!lines)
        return FixedRead::TooManyLines;
    text = std::move(*lines);
    return FixedRead::Ok;
}

FileResult WriteFixedFile(FileStorePort& files, const Text& path, TextView text, bool& dropped,
                          Fingerprint& written) {
    const std::string bytes =
        EncodeFileText(NativeLineEnds(FixedLinesText(text, kMaxFixedLines, dropped)));
    const FileResult result = files.Replace(path, bytes);
    if (result)
        written = FingerprintOf(bytes);
    return result;
}

int PickEntry(RandomPort& random, int count) {
    return count > 0 ? random.Between(1, count) : 1;
}

}  // namespace velmo
