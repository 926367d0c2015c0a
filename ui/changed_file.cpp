#include "ui/changed_file.h"

#include "ui/app.h"

namespace velmo {

LookedAgain LookAgainAtFile(App& app, const KeptFile& file, bool beforeWrite) {
    FileLook look = CompareFile(app.ports.files, file.path, file.known);
    switch (look.since) {
        case FileSince::Same:
        case FileSince::Missing:
            return {};
        case FileSince::Unreadable:
            if (!beforeWrite)
                return {};
            return {FileCheck::Cancel, {}, look.file};
        case FileSince::Changed:
            break;
    }
    if (!file.edited)
        return {FileCheck::Reloaded, std::move(look.bytes), {}};
    if (!beforeWrite)
        return {};
    const Answer answer = app.ports.messages.Show(
        file.path + U"\r\nhas been changed by another program since Velmo read it, and " +
            Text(file.changesHere) +
            U".\r\n"
            U"Press YES to load the file again: the changes made here are lost.\r\n"
            U"Press NO to replace the file with " +
            Text(file.replaceWith) +
            U": the other program's changes are lost.\r\n"
            U"Press CANCEL to leave both as they are.",
        message::WarningYesNoCancelDefaultCancel, Text(file.title));
    if (answer == Answer::Yes)
        return {FileCheck::Reloaded, std::move(look.bytes), {}};
    if (answer == Answer::No) {
        file.known = FingerprintOf(look.bytes);
        return {FileCheck::Overwrite, {}, {}};
    }
    return {FileCheck::Cancel, {}, {}};
}

}  // namespace velmo
