#include "service/former_files.h"

#include "service/data_folders.h"

namespace velmo {

CopiedTextFiles CopyFormerTextFiles(FileStorePort& files, const Text& former,
                                    const Text& dataFolder) {
    CopiedTextFiles out;
    if (former.empty() || dataFolder.empty())
        return out;
    for (const TextView name : {QuoteListFileName, FixedTextFileName}) {
        const Text from = former + Text(name);
        const Text to = dataFolder + Text(name);
        if (!files.Exists(from) || files.Exists(to))
            continue;
        FileResult result = files.MakeFolders(dataFolder);
        if (result) {
            const FileBytes bytes = files.ReadOwn(from);
            result = bytes.has_value() ? files.Replace(to, *bytes) : bytes.error();
        }
        if (!result) {
            out.failed = from;
            out.result = result;
            break;
        }
        out.copied.emplace_back(name);
    }
    return out;
}

}  // namespace velmo
