#include "service/data_folders.h"

#include "platform/path_style.h"

namespace velmo {

namespace {

Text WithSeparator(Text folder) {
    const char32_t separator = Separator(NativePathStyle());
    if (folder.empty() || folder.back() != separator)
        folder += separator;
    return folder;
}

bool IsFullPath(TextView path) {
    return IsFullPath(path, NativePathStyle());
}

}  // namespace

Text ProgramDataFolder(ProgramPort& program) {
    return WithSeparator(program.TextFilesFolder());
}

Text FormerDataFolder(ProgramPort& program, const Text& dataFolder) {
    // Earlier versions knew no profiles: what they left is the default one's.
    if (!program.ProfileName().empty())
        return Text();
    const Text folder = WithSeparator(program.ProgramFolder());
    if (folder == dataFolder || !IsFullPath(folder) || !program.CanWriteFolder(folder))
        return Text();
    return folder;
}

Text DocumentsFolder(ProgramPort& program) {
    const Text folder = program.DocumentsFolder();
    if (!IsFullPath(folder))
        return Text();
    return WithSeparator(folder);
}

Text ResolvedQuoteListPath(const Text& stored, const Text& dataFolder, const Text& former) {
    if (IsRootedPath(stored, NativePathStyle()) &&
        (former.empty() || stored != former + Text(QuoteListFileName)))
        return stored;
    return dataFolder + Text(QuoteListFileName);
}

}  // namespace velmo
