#include "service/signature_session.h"

#include <algorithm>
#include <numeric>

#include "domain/layout.h"
#include "domain/paths.h"
#include "platform/path_style.h"

namespace velmo {

FileResult SignatureSession::ReadQuoteList(LaterEntries later) {
    return ReadQuoteListFile(ports_.files, quoteListPath, quoteList, later);
}

void SignatureSession::PickRandom() {
    std::vector<int> entries(static_cast<size_t>(std::max(quoteList.EntryCount, 0)));
    std::iota(entries.begin(), entries.end(), 1);
    PickRandomAmong(entries);
}

void SignatureSession::PickRandomAmong(const std::vector<int>& entries) {
    if (entries.empty()) {
        // Slot 1 of an empty list may still hold text of an earlier, longer file.
        picked_ = 1;
        quote_.clear();
        return;
    }
    if (options.noRepeats && SwitchedOn(options.variablePart)) {
        picked_ = PickInSharedRound(entries);
    } else {
        const int index = ports_.random.Between(1, static_cast<int>(entries.size()));
        picked_ = entries[static_cast<size_t>(index - 1)];
    }
    quote_ = quoteList.At(picked_);
}

int SignatureSession::PickInSharedRound(const std::vector<int>& entries) {
    // Far more than a round of the longest list takes.
    constexpr size_t kRoundReadLimit = size_t{64} << 10;
    std::vector<TextView> texts;
    for (int entry = 1; entry <= quoteList.EntryCount; ++entry)
        texts.push_back(quoteList.At(entry));
    const std::vector<QuotationKey> keys = QuotationKeys(texts);
    std::vector<int> candidates;
    for (const int entry : entries)
        candidates.push_back(entry - 1);
    const UniformBelow uniform = [this](int count) { return ports_.random.Between(0, count - 1); };

    const Text path = ports_.program.PickRoundFile();
    int picked = entries.front();
    const auto pick = [&] {
        // A round that cannot be read (missing, corrupt, not the user's own)
        // begins afresh, unless this program could not write the last one.
        std::optional<PickRound> stored;
        if (!path.empty()) {
            const FileBytes bytes = ports_.files.ReadOwn(path, kRoundReadLimit);
            if (bytes.has_value())
                stored = ParsePickRound(bytes.value());
        }
        PickRound round = stored ? std::move(*stored) : roundOnlyHere_ ? round_ : PickRound{};
        picked = *PickInRound(round, keys, candidates, uniform) + 1;
        round_ = std::move(round);
        // Not kept, the round goes on in this program alone: nothing the user
        // made is lost, so nothing is said.
        roundOnlyHere_ = path.empty() || !ports_.files.Replace(path, FormatPickRound(round_));
    };
    if (path.empty()) {
        pick();
        return picked;
    }
    ports_.files.MakeFolders(ContainingFolder(path, NativePathStyle()));
    ports_.files.Locked(ports_.program.PickRoundLock(), pick);
    return picked;
}

void SignatureSession::Pick(int entry) {
    picked_ = entry;
    quote_ = quoteList.At(entry);
}

const Text& SignatureSession::Compose() {
    signature_ = ComposeSignature(options, fixedText, quote_);
    return signature_;
}

SignaturePathFault SignatureSession::CheckSignaturePath(const Text& path) const {
    return velmo::CheckSignaturePath(ports_.files, ports_.program, path,
                                     {dataFolder, quoteListPath});
}

SignatureWrite SignatureSession::WriteSignatureFile() {
    SignatureWrite write;
    if (!Included(options.toFile) || signaturePath.empty())
        return write;
    write.toldBefore = failedPath_ == signaturePath;
    // A path that would land in an unknown folder or replace one of Velmo's
    // own files (a stored one, say) is never written.
    write.fault = CheckSignaturePath(signaturePath);
    if (write.fault != SignaturePathFault::None) {
        write.outcome = SignatureWrite::Outcome::Refused;
        failedPath_ = signaturePath;
        return write;
    }
    write.file = velmo::WriteSignatureFile(ports_.files, signaturePath, options.output, signature_);
    if (write.file) {
        write.outcome = SignatureWrite::Outcome::Written;
        failedPath_.reset();
        return write;
    }
    write.outcome = SignatureWrite::Outcome::Unwritable;
    failedPath_ = signaturePath;
    return write;
}

}  // namespace velmo
