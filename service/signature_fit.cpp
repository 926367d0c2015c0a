#include "service/signature_fit.h"

namespace velmo {

SignatureSize EntrySignatureSize(const SignatureSession& session, int entry) {
    return MeasureSignature(
        ComposeSignature(session.options, session.fixedText, session.quoteList.At(entry)));
}

std::vector<int> FittingEntries(const SignatureSession& session, const SizeLimits& limits) {
    std::vector<int> fitting;
    for (int entry = 1; entry <= session.quoteList.EntryCount; ++entry) {
        if (limits.Admit(EntrySignatureSize(session, entry)))
            fitting.push_back(entry);
    }
    return fitting;
}

}  // namespace velmo
