#include "service/signature_command.h"

#include "domain/layout.h"
#include "domain/quote_list.h"
#include "domain/stored_options.h"
#include "service/data_folders.h"
#include "service/former_files.h"
#include "service/settings_key.h"
#include "service/signature_file.h"
#include "service/text_files.h"

namespace velmo {

SignatureOutcome MakeSignature(const SignaturePorts& ports, const SignatureRequest& request) {
    SignatureOutcome out;
    std::optional<StoredSettings> stored;
    try {
        stored = ReadSettingsKey(ports.settings);
    } catch (const StoreFailure& failure) {
        out.failure = SignatureFailure::SettingsUnreadable;
        out.detail = failure.what();
        return out;
    }
    if (!stored) {
        out.failure = SignatureFailure::NoSettings;
        return out;
    }
    // No stored options yet means the defaults, which the window starts with
    // too; options stored but unreadable would make a signature the user never
    // chose.
    const std::optional<SignatureOptions> decoded = DecodeOptions(*stored);
    if (!decoded && !stored->programValues.empty()) {
        out.failure = SignatureFailure::OptionsUnusable;
        return out;
    }
    const SignatureOptions options = decoded.value_or(SignatureOptions{});
    const StoredSettings paths = decoded ? *stored : StoredSettings{};
    const Text dataFolder = ProgramDataFolder(ports.program);
    const Text former = FormerDataFolder(ports.program, dataFolder);
    // Printing changes no file: text files not yet copied from beside the
    // program are read where they are.
    if (request.write)
        out.copied = CopyFormerTextFiles(ports.files, former, dataFolder);
    out.formerFolder = former;
    out.dataFolder = dataFolder;
    const auto textFile = [&](TextView name) {
        const Text path = dataFolder + Text(name);
        if (!request.write && !former.empty() && !ports.files.Exists(path) &&
            ports.files.Exists(former + Text(name)))
            return former + Text(name);
        return path;
    };

    Text fixedText;
    if (SwitchedOn(options.fixedPart)) {
        out.path = textFile(FixedTextFileName);
        if (ReadFixedFile(ports.files, out.path, fixedText, out.file) != FixedRead::Ok) {
            out.failure = SignatureFailure::FixedTextUnreadable;
            return out;
        }
    }

    QuoteList list;
    Text quoteListPath = ResolvedQuoteListPath(paths.texts[kQuoteListPathText], dataFolder, former);
    if (quoteListPath == dataFolder + Text(QuoteListFileName))
        quoteListPath = textFile(QuoteListFileName);
    if (SwitchedOn(options.variablePart)) {
        // A signature takes one of the first 200 entries; the rest stay unread.
        out.file = ReadQuoteListFile(ports.files, quoteListPath, list, LaterEntries::Unread);
        if (!out.file) {
            out.failure = SignatureFailure::QuoteListUnreadable;
            out.path = quoteListPath;
            return out;
        }
    }
    out.entries = list.EntryCount;
    int entry = 0;
    // An entry asked for is checked only against a list that was read; a
    // signature without its quote has no use for it.
    if (request.entry && SwitchedOn(options.variablePart)) {
        entry = *request.entry;
        if (entry < 1 || entry > list.EntryCount) {
            out.failure = SignatureFailure::EntryOutOfRange;
            return out;
        }
    } else {
        entry = PickEntry(ports.random, list.EntryCount);
    }
    // An empty list has only empty slots: its signature has no quote.
    const Text& quote = list.At(entry);
    const Text signature = ComposeSignature(options, fixedText, quote);

    if (!request.write) {
        out.bytes = SignatureFileBytes(request.form.value_or(OutputForm::PlainText), signature);
        return out;
    }
    out.path =
        ResolveSignaturePath(paths.texts[kSignaturePathText], DocumentsFolder(ports.program));
    if (!Included(options.toFile) || out.path.empty()) {
        out.failure = SignatureFailure::NoSignatureFile;
        return out;
    }
    if (CheckSignaturePath(ports.files, ports.program, out.path, {dataFolder, quoteListPath}) !=
        SignaturePathFault::None) {
        out.failure = SignatureFailure::SignatureFileRefused;
        return out;
    }
    out.file = WriteSignatureFile(ports.files, out.path, options.output, signature);
    if (!out.file)
        out.failure = SignatureFailure::SignatureFileUnwritable;
    return out;
}

}  // namespace velmo
