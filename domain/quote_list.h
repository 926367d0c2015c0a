#pragma once

#include <array>
#include <string>

#include "domain/fingerprint.h"
#include "domain/text.h"

namespace velmo {

// The in-memory quote list. Slot 0 is never used; entries sit in 1 to
// EntryCount, and slot EntryCount + 1 is the spare that a delete shifts in.
struct QuoteList {
    static constexpr int kMaxEntries = 200;
    static constexpr int kSlots = kMaxEntries + 2;

    std::array<Text, kSlots> Entries{};
    int EntryCount = 0;
    int CurrentEntry = 0;

    // Entries of a longer file past the 200th: not shown, not picked, but
    // written back after the others so that nothing of the file is lost.
    // Held as their records in UTF-8, line ends as written, which take a
    // quarter of the memory of their text or less; the file is written in
    // one encoding throughout, chosen for them and the others together.
    std::string KeptAside;

    // Whether a load was tried in this run, and the file whose entries were
    // read (or written) last: a save never replaces a file it never read.
    bool LoadTried = false;
    Text LoadedPath;
    // What that file held then, and the list as it stood then: another
    // program's change to the file is told apart from an edit made here.
    Fingerprint LoadedFile;
    Fingerprint LoadedList;

    // The slot at `index`, or an empty text for an index outside the slots.
    const Text& At(int index) const {
        static const Text kNone;
        return index >= 0 && index < kSlots ? Entries[static_cast<size_t>(index)] : kNone;
    }
};

}  // namespace velmo
