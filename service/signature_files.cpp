#include "service/signature_files.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "domain/output_forms.h"
#include "domain/text_fields.h"
#include "platform/file_text.h"

namespace velmo {

namespace {

Text WithSeparator(Text folder) {
    const char32_t separator = Separator(NativePathStyle());
    if (folder.empty() || folder.back() != separator)
        folder += separator;
    return folder;
}

bool IsFullPath(TextView path) {
    return IsFullPath(path, NativePathStyle());
}

}  // namespace

Text ProgramDataFolder(ProgramPort& program) {
    return WithSeparator(program.TextFilesFolder());
}

Text FormerDataFolder(ProgramPort& program, const Text& dataFolder) {
    const Text folder = WithSeparator(program.ProgramFolder());
    if (folder == dataFolder || !IsFullPath(folder) || !program.CanWriteFolder(folder))
        return Text();
    return folder;
}

CopiedTextFiles CopyFormerTextFiles(FileStorePort& files, const Text& former,
                                    const Text& dataFolder) {
    CopiedTextFiles out;
    if (former.empty() || dataFolder.empty())
        return out;
    for (const TextView name : {VariableFileName, FixedTextFileName}) {
        const Text from = former + Text(name);
        const Text to = dataFolder + Text(name);
        if (!files.Exists(from) || files.Exists(to))
            continue;
        FileResult result = files.MakeFolders(dataFolder);
        std::optional<std::string> bytes;
        if (result)
            bytes = files.ReadOwn(from, result);
        if (bytes)
            result = files.Replace(to, *bytes);
        if (!result) {
            out.failed = from;
            out.result = result;
            break;
        }
        out.copied.emplace_back(name);
    }
    return out;
}

Text DocumentsFolder(ProgramPort& program) {
    const Text folder = program.DocumentsFolder();
    if (!IsFullPath(folder))
        return Text();
    return WithSeparator(folder);
}

Text QuoteFilePath(const Text& stored, const Text& dataFolder, const Text& former) {
    if (IsRootedPath(stored, NativePathStyle()) &&
        (former.empty() || stored != former + Text(VariableFileName)))
        return stored;
    return dataFolder + Text(VariableFileName);
}

Text ResolveSignaturePath(const Text& path, const Text& folder) {
    if (path.empty() || IsFullPath(path) || folder.empty())
        return path;
    return folder + path;
}

SignaturePathFault CheckSignaturePath(FileStorePort& files, ProgramPort& program, const Text& path,
                                      const OwnTextFiles& ownText) {
    if (!IsFullPath(path))
        return SignaturePathFault::NotFullPath;
    std::vector<Text> own = program.OwnFiles();
    own.push_back(ownText.dataFolder + Text(FixedTextFileName));
    own.push_back(ownText.dataFolder + Text(VariableFileName));
    if (IsFullPath(ownText.quoteFile))
        own.push_back(ownText.quoteFile);
    const bool ownFile = std::any_of(own.begin(), own.end(), [&files, &path](const Text& file) {
        return !file.empty() && files.SameFile(path, file);
    });
    return ownFile ? SignaturePathFault::OwnFile : SignaturePathFault::None;
}

std::string SignatureFileBytes(OutputForm form, TextView signature) {
    const Text content = NativeLineEnds(SignatureInForm(form, signature) + Text(CrLf));
    return form == OutputForm::PlainText ? EncodeFileText(content) : MarkedUpFileBytes(content);
}

FileResult WriteSignatureFile(FileStorePort& files, const Text& path, OutputForm form,
                              TextView signature) {
    return files.Replace(path, SignatureFileBytes(form, signature));
}

FileResult ReadQuoteFile(FileStorePort& files, const Text& path, VariableEntries& list,
                         LaterEntries later) {
    FileResult result;
    const std::optional<std::string> bytes = files.ReadOwn(path, result);
    if (!bytes)
        return result;
    TakeQuoteFile(path, *bytes, list, later);
    return result;
}

void TakeQuoteFile(const Text& path, std::string_view bytes, VariableEntries& list,
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

FileResult WriteQuoteFile(FileStorePort& files, const Text& path, VariableEntries& list) {
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

bool QuoteListEdited(const VariableEntries& list) {
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

std::optional<StoredSettings> ReadSettingsKey(SettingsStorePort& store) {
    const std::optional<std::vector<StoredValue>> values = store.Values(Text(SettingsKey));
    if (!values)
        return std::nullopt;
    StoredSettings settings;
    ReadStoredValues(*values, settings);
    return settings;
}

int PickEntry(RandomPort& random, int count) {
    return count > 0 ? random.Between(1, count) : 1;
}

}  // namespace velmo
