#pragma once

// One signature from the user's own options, fixed text and quote list, for
// a mail program that runs a command for each message. It reads what the
// window program reads, resolved the same way, and never writes the settings.

#include <optional>
#include <string>

#include "domain/signature_options.h"
#include "platform/ports.h"
#include "service/former_files.h"
#include "service/signature_fit.h"

namespace velmo {

struct SignatureRequest {
    std::optional<OutputForm> form = std::nullopt;  // the text form when none is given
    std::optional<int> entry = std::nullopt;        // 1-based; a random pick when none is given
    bool write = false;  // replace the signature file instead of printing
    // A file whose quotations are used instead of the user's own list, which
    // is then left unread (a fortune file, one quotation a line, or a list).
    std::optional<Text> list = std::nullopt;
    // Only a signature this size or smaller: a random pick is among the
    // quotations that fit, an entry asked for must fit.
    SizeLimits limits = {};
};

enum class SignatureFailure {
    None,
    NoSettings,            // the window program has never saved or started
    SettingsUnreadable,    // `detail` holds the reason
    OptionsUnusable,       // the stored "Program Values" cannot be decoded
    QuoteListUnreadable,   // `path` and `file` say which and why (the list's or --list's)
    FixedTextUnreadable,   // `path` and `file` say which and why; or too many lines
    EntryOutOfRange,       // `entries` holds the list's length
    NoneFits,              // of the list's quotations; `size` holds the fewest lines and columns
    TooLarge,              // the signature, of the entry asked for or with no quote, is larger
    NoSignatureFile,       // file output is off or has no file
    SignatureFileRefused,  // not a full path, or one of the program's own files
    SignatureFileUnwritable,
};

struct SignatureOutcome {
    SignatureFailure failure = SignatureFailure::None;
    // The text files copied from beside the program at this run, from
    // `formerFolder` to `dataFolder`, whatever else came of it.
    CopiedTextFiles copied;
    Text formerFolder;
    Text dataFolder;
    std::string bytes;  // the signature as a file of the requested form holds it
    Text path;
    FileResult file;
    int entries = 0;
    // The signature's size; when none fits, the fewest lines and the fewest
    // columns any signature of the list takes.
    SignatureSize size;
    std::string detail;
};

struct SignaturePorts {
    FileStorePort& files;
    SettingsStorePort& settings;
    ProgramPort& program;
    RandomPort& random;
};

SignatureOutcome MakeSignature(const SignaturePorts& ports, const SignatureRequest& request);

}  // namespace velmo
