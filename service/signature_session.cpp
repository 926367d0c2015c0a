#include "service/signature_session.h"

#include "domain/layout.h"

namespace velmo {

FileResult SignatureSession::ReadQuoteList(LaterEntries later) {
    return ReadQuoteListFile(ports_.files, quoteListPath, quoteList, later);
}

void SignatureSession::PickRandom() {
    picked_ = PickEntry(ports_.random, quoteList.EntryCount);
    // Slot 1 of an empty list may still hold text of an earlier, longer file.
    quote_ = quoteList.EntryCount > 0 ? quoteList.At(picked_) : Text();
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
