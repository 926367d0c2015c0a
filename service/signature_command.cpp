#include "service/signature_command.h"

#include <algorithm>

#include "domain/stored_options.h"
#include "service/data_folders.h"
#include "service/former_files.h"
#include "service/quotation_file.h"
#include "service/settings_key.h"
#include "service/signature_file.h"
#include "service/signature_session.h"
#include "service/text_files.h"

namespace velmo {

SignatureOutcome MakeSignature(const SignaturePorts& ports, const SignatureRequest& request) {
    SignatureOutcome out;
    const StoreResult<std::optional<StoredSettings>> settings = ReadSettingsKey(ports.settings);
    if (!settings.has_value()) {
        out.failure = SignatureFailure::SettingsUnreadable;
        out.detail = settings.error().description;
        return out;
    }
    const std::optional<StoredSettings>& stored = *settings;
    if (!stored) {
        out.failure = SignatureFailure::NoSettings;
        return out;
    }
    // No stored options yet are the defaults the window starts with; options
    // stored but unreadable would make a signature the user never chose.
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

    SignatureSession session({ports.files, ports.program, ports.random});
    session.options = options;
    session.dataFolder = dataFolder;
    if (SwitchedOn(options.fixedPart)) {
        out.path = textFile(FixedTextFileName);
        FixedFile read = ReadFixedFile(ports.files, out.path);
        out.file = read.file;
        if (read.outcome != FixedRead::Ok) {
            out.failure = SignatureFailure::FixedTextUnreadable;
            return out;
        }
        session.fixedText = std::move(read.text);
    }

    session.quoteListPath = ResolvedQuoteListPath(paths.quoteListPath, dataFolder, former);
    if (session.quoteListPath == dataFolder + Text(QuoteListFileName))
        session.quoteListPath = textFile(QuoteListFileName);
    if (request.list && SwitchedOn(options.variablePart)) {
        // Any number of quotations: only the one picked is kept, as the list's
        // single entry.
        QuotationPick pick = PickQuotation(ports.files, ports.random, *request.list, request.entry);
        out.entries = pick.count;
        if (!pick.file) {
            out.failure = SignatureFailure::QuoteListUnreadable;
            out.path = *request.list;
            out.file = pick.file;
            return out;
        }
        if (request.entry && !pick.quotation) {
            out.failure = SignatureFailure::EntryOutOfRange;
            return out;
        }
        if (pick.quotation) {
            session.quoteList.Entries[1] = std::move(*pick.quotation);
            session.quoteList.EntryCount = 1;
        }
        session.Pick(1);
    } else if (SwitchedOn(options.variablePart)) {
        // A signature takes one of the first 200 entries; the rest stay unread.
        out.file = session.ReadQuoteList(LaterEntries::Unread);
        if (!out.file) {
            out.failure = SignatureFailure::QuoteListUnreadable;
            out.path = session.quoteListPath;
            return out;
        }
    }
    if (!request.list) {
        out.entries = session.quoteList.EntryCount;
        // An entry asked for is checked only against a list that was read; a
        // signature without its quote has no use for it.
        if (request.entry && SwitchedOn(options.variablePart)) {
            if (*request.entry < 1 || *request.entry > out.entries) {
                out.failure = SignatureFailure::EntryOutOfRange;
                return out;
            }
            session.Pick(*request.entry);
        } else if (request.limits.Any() && SwitchedOn(options.variablePart) && out.entries > 0) {
            const std::vector<int> fitting = FittingEntries(session, request.limits);
            if (fitting.empty()) {
                out.failure = SignatureFailure::NoneFits;
                out.size = EntrySignatureSize(session, 1);
                for (int entry = 2; entry <= out.entries; ++entry) {
                    const SignatureSize size = EntrySignatureSize(session, entry);
                    out.size.lines = std::min(out.size.lines, size.lines);
                    out.size.columns = std::min(out.size.columns, size.columns);
                }
                return out;
            }
            // Every quotation that fits as likely as any other.
            session.PickRandomAmong(fitting);
        } else {
            session.PickRandom();
        }
    }
    // An empty list has only empty slots: its signature has no quote.
    const Text& signature = session.Compose();
    out.size = MeasureSignature(signature);
    // An entry asked for, or a signature without a quote to choose.
    if (!request.limits.Admit(out.size)) {
        out.failure = SignatureFailure::TooLarge;
        return out;
    }

    if (!request.write) {
        out.bytes = SignatureFileBytes(request.form.value_or(OutputForm::PlainText), signature);
        return out;
    }
    session.signaturePath =
        ResolveSignaturePath(paths.signaturePath, DocumentsFolder(ports.program));
    const SignatureWrite written = session.WriteSignatureFile();
    out.path = session.signaturePath;
    out.file = written.file;
    switch (written.outcome) {
        case SignatureWrite::Outcome::Off:
            out.failure = SignatureFailure::NoSignatureFile;
            break;
        case SignatureWrite::Outcome::Refused:
            out.failure = SignatureFailure::SignatureFileRefused;
            break;
        case SignatureWrite::Outcome::Unwritable:
            out.failure = SignatureFailure::SignatureFileUnwritable;
            break;
        case SignatureWrite::Outcome::Written:
            break;
    }
    return out;
}

}  // namespace velmo
