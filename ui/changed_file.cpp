#include "ui/changed_file.h"

#include "ui/app.h"

namespace velmo {

FileCheck LookAgainAtFile(App& app, const KeptFile& file, bool beforeWrite, std::string& bytes,
                          FileResult& unreadable) {
    FileResult result;
    switch (CompareFile(app.ports.files, file.path, file.known, bytes, result)) {
        case FileSince::Same:
        case FileSince::Missing:
            return FileCheck::Current;
        case FileSince::Unreadable:
            if (!beforeWrite)
                return FileCheck::Current;
            unreadable = result;
            return FileCheck::Cancel;
        case FileSince::Changed:
            break;
    }
    if (!file.edited)
        return FileCheck::Reloaded;
    if (!beforeWrite)
        return FileCheck::Current;
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
        return FileCheck::Reloaded;
    if (answer == Answer::No) {
        file.known = FingerprintOf(bytes);
        return FileCheck::Overwrite;
    }
    return FileCheck::Cancel;
}

}  // namespace velmo
