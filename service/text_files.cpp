#include "service/text_files.h"

#include <functional>

#include "domain/text_fields.h"
#include "platform/file_text.h"

namespace velmo {

FileResult ReadQuoteListFile(FileStorePort& files, const Text& path, QuoteList& list,
                             LaterEntries later) {
    const FileBytes bytes = files.ReadOwn(path);
    if (!bytes.has_value())
        return bytes.error();
    TakeQuoteListFile(path, *bytes, list, later);
    return {};
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
            kept += ToUtf8(NativeLineEnds(QuotedRecord(field)));
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
    const std::string bytes = EncodeFileText(NativeLineEnds(content), list.KeptAside);
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

FileLook CompareFile(FileStorePort& files, const Text& path, const Fingerprint& known) {
    FileBytes now = files.ReadOwn(path);
    if (!now.has_value()) {
        const FileResult& failure = now.error();
        return {failure.Missing() ? FileSince::Missing : FileSince::Unreadable, {}, failure};
    }
    if (FingerprintOf(*now) == known)
        return {FileSince::Same, {}, {}};
    return {FileSince::Changed, std::move(*now), {}};
}

FixedFile ReadFixedFile(FileStorePort& files, const Text& path) {
    FixedFile out;
    const FileBytes bytes = files.ReadOwn(path);
    if (!bytes.has_value()) {
        out.outcome = FixedRead::Unreadable;
        out.file = bytes.error();
        return out;
    }
    out.read = FingerprintOf(*bytes);
    out.outcome = FixedTextOf(*bytes, out.text);
    return out;
}

FixedRead FixedTextOf(std::string_view bytes, Text& text) {
    std::optional<Text> lines = ReadFixedLines(DecodeFileText(bytes), kMaxFixedLines);
    if (!lines)
        return FixedRead::TooManyLines;
    text = std::move(*lines);
    return FixedRead::Ok;
}

FixedWrite WriteFixedFile(FileStorePort& files, const Text& path, TextView text) {
    const FixedLines lines = FixedLinesText(text, kMaxFixedLines);
    const std::string bytes = EncodeFileText(NativeLineEnds(lines.text));
    FixedWrite out{files.Replace(path, bytes), lines.dropped, {}};
    if (out.file)
        out.written = FingerprintOf(bytes);
    return out;
}

}  // namespace velmo
