// velmo-signature: one signature on standard output, for a mail program that
// runs a command for each message; or, with --write, the signature file
// replaced as a scheduled change does. No display, no Qt, and the settings
// are only read.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "domain/profile.h"
#include "domain/version.h"
#include "platform/native.h"
#include "platform/random.h"
#include "platform/read_only_files.h"
#include "service/signature_command.h"

namespace {

using namespace velmo;

constexpr const char* kUsage =
    "Usage: velmo-signature [--profile NAME] [--format text|html|rtf] [--list FILE] [--entry N]\n"
    "                       [--max-lines N] [--max-width N] [--write]\n"
    "       velmo-signature --list-profiles\n"
    "Prints an e-mail signature made by Velmo's options, fixed text and quote\n"
    "list, with a quotation picked at random.\n"
    "\n"
    "  --profile NAME   use the profile NAME's options and texts (started once\n"
    "                   with velmo --profile NAME)\n"
    "  --list-profiles  print the names of the profiles there are, one a line\n"
    "  --format F       text (the default), html or rtf: the form of the signature file\n"
    "  --list FILE      pick from the quotations of FILE instead of the quote list:\n"
    "                   a fortune file (each ended by a line holding only %), a list\n"
    "                   in Velmo's format, or one quotation a line; FILE is only read\n"
    "  --entry N        use quotation N of the list (from 1) instead of a random one\n"
    "  --max-lines N    pick only among quotations whose whole signature has at most\n"
    "                   N lines (the empty line a bordered one starts with counts)\n"
    "  --max-width N    ... and at most N display columns in every line\n"
    "  --write          replace the signature file chosen in Velmo instead of printing\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "For mutt: set signature=\"velmo-signature|\"; one profile for some recipients:\n"
    "send-hook '~t @work.example' 'set signature=\"velmo-signature --profile work|\"'.\n"
    "See velmo-signature(1).\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "velmo-signature: %s\n", message.c_str());
    return 1;
}

int Usage(const std::string& message) {
    std::fprintf(stderr, "velmo-signature: %s\nTry 'velmo-signature --help'.\n", message.c_str());
    return 2;
}

// A whole decimal number from 1 up, nothing else.
bool ParseEntry(std::string_view text, int& entry) {
    if (text.empty() || text.size() > 9)
        return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    entry = value;
    return value >= 1;
}

// "6 lines and 80 columns", as the limits count them.
std::string SizeText(const SignatureSize& size) {
    return std::to_string(size.lines) + (size.lines == 1 ? " line" : " lines") + " and " +
           std::to_string(size.columns) + (size.columns == 1 ? " column" : " columns");
}

// "--max-lines 4 --max-width 72", the limits given.
std::string LimitsText(const SizeLimits& limits) {
    std::string text;
    if (limits.lines)
        text += "--max-lines " + std::to_string(*limits.lines);
    if (limits.columns)
        text += (text.empty() ? "" : " ") + std::string("--max-width ") +
                std::to_string(*limits.columns);
    return text;
}

std::string Reason(const FileResult& file) {
    return file.Message();
}

}  // namespace

int main(int argc, char** argv) {
    SignatureRequest request;
    std::string profile;
    bool listProfiles = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&](std::string_view name) -> const char* {
            if (i + 1 >= argc)
                return nullptr;
            static_cast<void>(name);
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("velmo-signature %s\n", velmo::kVersionText);
            return 0;
        }
        if (arg == "--write") {
            request.write = true;
        } else if (arg == "--list-profiles") {
            listProfiles = true;
        } else if (arg == "--profile" || arg.starts_with("--profile=")) {
            const char* name = arg.size() > 9 ? argv[i] + 10 : value(arg);
            if (name == nullptr)
                return Usage("--profile needs a name");
            // One line, before any file is touched.
            if (const std::string refusal = ProfileNameRefusal(name); !refusal.empty()) {
                std::fprintf(stderr, "velmo-signature: %s\n", refusal.c_str());
                return 2;
            }
            profile = name;
        } else if (arg == "--format") {
            const char* form = value(arg);
            if (form == nullptr)
                return Usage("--format needs text, html or rtf");
            const std::string_view f = form;
            if (f == "text") {
                request.form = OutputForm::PlainText;
            } else if (f == "html") {
                request.form = OutputForm::Html;
            } else if (f == "rtf") {
                request.form = OutputForm::Rtf;
            } else {
                return Usage("unknown format '" + std::string(f) + "': text, html or rtf");
            }
        } else if (arg == "--list" || arg.starts_with("--list=")) {
            const char* file = arg.size() > 6 ? argv[i] + 7 : value(arg);
            if (file == nullptr || *file == '\0')
                return Usage("--list needs a file of quotations");
            request.list = FromPathBytes(file);
        } else if (arg == "--entry") {
            const char* number = value(arg);
            int entry = 0;
            if (number == nullptr || !ParseEntry(number, entry))
                return Usage("--entry needs a quotation number from 1");
            request.entry = entry;
        } else if (arg == "--max-lines" || arg == "--max-width") {
            const char* number = value(arg);
            int bound = 0;
            if (number == nullptr || !ParseEntry(number, bound))
                return Usage(std::string(arg) + " needs a whole number from 1");
            (arg == "--max-lines" ? request.limits.lines : request.limits.columns) = bound;
        } else {
            return Usage("unknown argument '" + std::string(arg) + "'");
        }
    }
    if (request.write && request.form)
        return Usage("--write writes the form chosen in Velmo; --format is for printing");
    // The limits choose among the quotations of the user's own list, which
    // is held whole; a file given with --list is only streamed through.
    if (request.list && request.limits.Any())
        return Usage("--max-lines and --max-width choose from your own list, not from --list");
    if (listProfiles) {
        if (request.write || request.form || request.entry || request.list ||
            request.limits.Any() || !profile.empty())
            return Usage("--list-profiles takes no other option");
        for (const std::string& name : ExistingProfiles())
            std::printf("%s\n", name.c_str());
        return std::fflush(stdout) == 0 ? 0 : Fail("cannot write the list of profiles");
    }

    const std::unique_ptr<FileStorePort> files = MakeFileStore();
    ReadOnlyFiles readOnly(*files);
    const std::unique_ptr<SettingsStorePort> settings = MakeSettingsStore(readOnly, profile);
    const std::unique_ptr<ProgramPort> program = MakeProgram(profile);
    StandardRandom random;

    const SignatureOutcome out = MakeSignature({*files, *settings, *program, random}, request);
    // Said once: later runs find the files in the data folder.
    if (!out.copied.copied.empty()) {
        std::string names;
        for (const Text& name : out.copied.copied)
            names += " " + ToUtf8(name);
        std::fprintf(stderr,
                     "velmo-signature: Velmo now keeps your quotation list and fixed text in %s; "
                     "copied there from %s:%s (those files are left as they are, and no longer "
                     "used)\n",
                     ToUtf8(out.dataFolder).c_str(), ToUtf8(out.formerFolder).c_str(),
                     names.c_str());
    }
    if (!out.copied.failed.empty()) {
        std::fprintf(stderr, "velmo-signature: cannot copy %s to %s: %s (it is left as it is)\n",
                     ToUtf8(out.copied.failed).c_str(), ToUtf8(out.dataFolder).c_str(),
                     Reason(out.copied.result).c_str());
    }
    // Shown as text: a byte of a file name that is not UTF-8 as U+FFFD.
    const std::string path = ToUtf8(out.path);
    switch (out.failure) {
        case SignatureFailure::None:
            break;
        case SignatureFailure::NoSettings:
            if (!profile.empty())
                return Fail("the profile " + profile +
                            " has no settings yet: start velmo --profile " + profile +
                            " once to choose them");
            return Fail("Velmo has no settings yet: start velmo once to choose them");
        case SignatureFailure::SettingsUnreadable:
            return Fail("cannot read Velmo's settings: " + out.detail);
        case SignatureFailure::OptionsUnusable:
            return Fail(
                "Velmo's stored options (\"Program Values\") cannot be read: save the options "
                "again in Velmo");
        case SignatureFailure::QuoteListUnreadable:
            return Fail(
                (request.list ? "cannot read the quotations of " : "cannot read the quote list ") +
                path + ": " + Reason(out.file));
        case SignatureFailure::FixedTextUnreadable:
            return Fail("cannot read the fixed text " + path + ": " +
                        (out.file ? std::string("more lines than a fixed text holds (15)")
                                  : Reason(out.file)));
        case SignatureFailure::EntryOutOfRange:
            return Fail("there is no quotation " + std::to_string(*request.entry) +
                        (request.list ? ": the file has " : ": the list has ") +
                        std::to_string(out.entries));
        case SignatureFailure::NoneFits:
            return Fail("no quotation of the " + std::to_string(out.entries) +
                        " makes a signature within " + LimitsText(request.limits) +
                        ": every signature takes at least " + SizeText(out.size));
        case SignatureFailure::TooLarge:
            return Fail(
                (request.entry
                     ? "quotation " + std::to_string(*request.entry) + " makes a signature of "
                     : std::string("the signature has ")) +
                SizeText(out.size) + ", more than " + LimitsText(request.limits) + " allows");
        case SignatureFailure::NoSignatureFile:
            return Fail(
                "no signature file is chosen: tick \"Send to Signature File\" in Velmo's "
                "Options tab and choose one");
        case SignatureFailure::SignatureFileRefused:
            return Fail("the signature file " + path +
                        " is not a full path or is one of Velmo's own files: choose another "
                        "in Velmo");
        case SignatureFailure::SignatureFileUnwritable:
            return Fail("cannot write the signature file " + path + ": " + Reason(out.file));
    }
    if (request.write)
        return 0;
    // The bytes are already those of the file, line ends included.
    UseBinaryStandardOutput();
    if (std::fwrite(out.bytes.data(), 1, out.bytes.size(), stdout) != out.bytes.size() ||
        std::fflush(stdout) != 0) {
        return Fail(std::string("cannot write the signature: ") + std::strerror(errno));
    }
    return 0;
}
