#pragma once

// The signature being worked on and what it is made of, with the use cases
// on it: the window and velmo-signature both read, pick, compose and publish
// through one session, so that a signature means the same in both.

#include <optional>
#include <vector>

#include "domain/fingerprint.h"
#include "domain/pick_round.h"
#include "domain/quote_list.h"
#include "domain/signature_options.h"
#include "domain/text.h"
#include "platform/ports.h"
#include "service/signature_file.h"
#include "service/text_files.h"

namespace velmo {

struct SessionPorts {
    FileStorePort& files;
    ProgramPort& program;
    RandomPort& random;
};

// How a write of the signature file ended.
struct SignatureWrite {
    enum class Outcome {
        Off,         // file output is off, or no file is chosen
        Refused,     // `fault` says why the path may not take it
        Unwritable,  // `file` says why
        Written,
    };
    Outcome outcome = Outcome::Off;
    SignaturePathFault fault = SignaturePathFault::None;
    FileResult file;
    // The same path failed at the write before: the user knows already, and a
    // scheduled change does not tell it again.
    bool toldBefore = false;
};

class SignatureSession {
  public:
    explicit SignatureSession(SessionPorts ports) : ports_(ports) {}

    // What the signature is made of.
    SignatureOptions options;
    Text fixedText;
    QuoteList quoteList;

    // Where the files are: the data folder ends in its separator; the fixed
    // text's path is the one stored with the options.
    Text dataFolder;
    Text quoteListPath;
    Text signaturePath;
    Text fixedTextPath;

    // The fixed text's file: whether a read was tried in this run, whether
    // the fixed text shown is what the file says (read or written in this
    // run), and the text whose save was last refused and reported.
    struct FixedTextFile {
        bool LoadTried = false;
        bool Read = false;
        std::optional<Text> Refused;
        // What the file held when it was read or written last, and the text
        // shown then: another program's change is told apart from an edit here.
        Fingerprint File;
        Fingerprint Box;
    } fixedTextFile;

    // Whether a save may replace the file at `path`: never one whose content
    // was not read in this run, which would be lost; a file that does not
    // exist has nothing to lose.
    bool MayReplace(const Text& path, bool read) const {
        return read || !ports_.files.Exists(path);
    }

    // Reads the quote list from its path; the list is left as it was on a failure.
    FileResult ReadQuoteList(LaterEntries later = LaterEntries::Kept);

    // A random entry of the list, every one equally likely (among `entries`,
    // from 1, when given), or the entry asked for. With "No repeats until all
    // are used" on, a random pick is one not yet picked in the round that
    // every program of the profile shares. The quote is kept with the pick,
    // so that an edit of the list changes the signature only at the next pick.
    void PickRandom();
    void PickRandomAmong(const std::vector<int>& entries);
    void Pick(int entry);
    int PickedEntry() const { return picked_; }
    const Text& PickedQuote() const { return quote_; }

    // The signature of the options, the fixed text and the picked quote, with
    // CR LF line breaks; kept as Signature() until the next one.
    const Text& Compose();
    const Text& Signature() const { return signature_; }

    // Whether `path` may take the signature: a full path that is none of
    // Velmo's own files.
    SignaturePathFault CheckSignaturePath(const Text& path) const;

    // Replaces the signature file with the last signature, in the chosen form,
    // when file output is on and the path may take it.
    SignatureWrite WriteSignatureFile();

  private:
    int PickInSharedRound(const std::vector<int>& entries);

    SessionPorts ports_;
    int picked_ = 0;
    Text quote_;
    Text signature_;
    // The signature path whose last write failed.
    std::optional<Text> failedPath_;
    // The round as this program saw it last, kept here for as long as its
    // file cannot be written.
    PickRound round_;
    bool roundOnlyHere_ = false;
};

}  // namespace velmo
