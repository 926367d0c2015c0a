#include "service/signature_file.h"

#include <algorithm>
#include <vector>

#include "domain/output_forms.h"
#include "platform/file_text.h"
#include "platform/path_style.h"
#include "service/data_folders.h"

namespace velmo {

namespace {

bool IsFullPath(TextView path) {
    return IsFullPath(path, NativePathStyle());
}

}  // namespace

Text ResolveSignaturePath(const Text& path, const Text& folder) {
    if (path.empty() || IsFullPath(path) || folder.empty())
        return path;
    return folder + path;
}

SignaturePathFault CheckSignaturePath(FileStorePort& files, ProgramPort& program, const Text& path,
                                      const OwnTextFiles& ownText) {
    if (!IsFullPath(path))
        return SignaturePathFault::NotFullPath;
    std::vector<Text> own = program.OwnFiles();
    std::vector<Text> folders = program.OtherProfilesTextFolders();
    folders.push_back(ownText.dataFolder);
    for (const Text& folder : folders) {
        own.push_back(folder + Text(FixedTextFileName));
        own.push_back(folder + Text(QuoteListFileName));
    }
    if (IsFullPath(ownText.quoteListPath))
        own.push_back(ownText.quoteListPath);
    const bool ownFile = std::any_of(own.begin(), own.end(), [&files, &path](const Text& file) {
        return !file.empty() && files.SameFile(path, file);
    });
    return ownFile ? SignaturePathFault::OwnFile : SignaturePathFault::None;
}

std::string SignatureFileBytes(OutputForm form, TextView signature) {
    const Text content = NativeLineEnds(SignatureInForm(form, signature) + Text(CrLf));
    return form == OutputForm::PlainText ? EncodeFileText(content) : MarkedUpFileBytes(content);
}

FileResult WriteSignatureFile(FileStorePort& files, const Text& path, OutputForm form,
                              TextView signature) {
    return files.Replace(path, SignatureFileBytes(form, signature));
}

}  // namespace velmo
