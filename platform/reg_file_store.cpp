#include "platform/reg_file_store.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <unordered_map>

#include "platform/file_lock.h"
#include "platform/file_text.h"

namespace velmo {

namespace {

constexpr TextView kRoot = U"HKEY_CURRENT_USER\\SOFTWARE\\Velmo";

// Writes each value over the stored one of its name (one of the same
// spelling first, else one in other letter case, which takes the name
// given), or appends it; one pass over the key, however many values it has.
void SetStrings(RegKey& key, const std::vector<StoredValue>& values) {
    std::unordered_map<Text, size_t> exact;
    std::unordered_map<Text, size_t> folded;
    for (size_t i = 0; i < key.values.size(); ++i) {
        const RegValue& v = key.values[i];
        if (!v.isDefault) {
            exact.emplace(v.name, i);  // the first of a name
            folded.emplace(FoldCase(v.name), i);
        }
    }
    for (const StoredValue& value : values) {
        const Text foldedName = FoldCase(value.name);
        size_t index = key.values.size();
        if (const auto at = exact.find(value.name); at != exact.end()) {
            index = at->second;
        } else if (const auto near = folded.find(foldedName); near != folded.end()) {
            index = near->second;
        } else {
            key.values.push_back({value.name, false, {}, {}});
            folded.emplace(foldedName, index);
        }
        exact.emplace(value.name, index);
        RegValue& v = key.values[index];
        v.name = value.name;
        v.text = value.text;
        v.raw.clear();
    }
}

}  // namespace

Text FullKeyPath(TextView keyPath) {
    while (!keyPath.empty() && keyPath.back() == U'\\')
        keyPath.remove_suffix(1);
    return U"HKEY_CURRENT_USER\\" + Text(keyPath);
}

RegFileStore::RegFileStore(FileStorePort& files, Text path)
    : files_(files), path_(std::move(path)) {}

StoreResult<RegDocument> RegFileStore::Load() {
    const std::string name = ToUtf8(path_);
    const FileBytes bytes = files_.ReadOwn(path_);
    if (!bytes.has_value()) {
        if (bytes.error().Missing())
            return RegDocument();
        return StoreFailure{
            StoreFailure::kUnreadable,
            "The settings file " + name + " cannot be read: " + bytes.error().Message()};
    }
    std::optional<RegDocument> doc = ParseRegDocument(DecodeFileText(*bytes));
    if (doc)
        return std::move(*doc);
    // Kept aside before anything overwrites it; a file that cannot be is left
    // where it is, and nothing is written over it.
    const Result<Text, FileResult> kept = KeepAside();
    if (!kept.has_value()) {
        return StoreFailure{
            StoreFailure::kUnreadable,
            "The settings file " + name +
                " is not a registry file and cannot be kept aside: " + kept.error().Message()};
    }
    return StoreFailure{
        StoreFailure::kCorrupt,
        "The settings file " + name + " is not a registry file; it was kept as " + ToUtf8(*kept)};
}

Result<Text, FileResult> RegFileStore::KeepAside() {
    FileResult result{std::make_error_code(std::errc::file_exists)};
    for (int number = 0; number <= kMaxKeptNumber; ++number) {
        const Text name = path_ + U".bad" + (number == 0 ? Text() : U"." + ToText(number));
        if (files_.Exists(name))
            continue;
        result = files_.Rename(path_, name);
        if (result)
            return name;
        // Anything else already there (a folder, a dangling link) is passed
        // over too; any other failure would fail for every name.
        if (result.error != std::errc::file_exists)
            return result;
    }
    return result;
}

StoreResult<bool> RegFileStore::Modify(const std::function<bool(RegDocument&)>& change) {
    const std::string name = ToUtf8(path_);
    const size_t slash = path_.rfind(U'/');
    if (slash != Text::npos && slash > 0)
        files_.MakeFolders(path_.substr(0, slash));
    FileLock lock(path_ + U".lock");
    // A file that cannot be read is not written over; a corrupt one was kept
    // aside, and the caller, told so, may write afresh.
    StoreResult<RegDocument> doc = Load();
    if (!doc.has_value())
        return doc.error();
    if (!change(*doc))
        return false;
    const FileResult result = files_.Replace(path_, EncodeFileText(FormatRegDocument(*doc)));
    if (!result) {
        return StoreFailure{
            EIO, "The settings file " + name + " cannot be written: " + result.Message()};
    }
    return true;
}

StoreResult<bool> RegFileStore::KeyExists(const Text& keyPath) {
    const StoreResult<RegDocument> doc = Load();
    if (!doc.has_value())
        return doc.error();
    return doc->Contains(FullKeyPath(keyPath));
}

StoreResult<bool> RegFileStore::CreateKey(const Text& keyPath) {
    const Text full = FullKeyPath(keyPath);
    return Modify([&](RegDocument& doc) {
        doc.Ensure(full, kRoot);
        return true;
    });
}

StoreResult<std::optional<std::vector<StoredValue>>> RegFileStore::Values(const Text& keyPath) {
    StoreResult<RegDocument> doc = Load();
    if (!doc.has_value())
        return doc.error();
    const Text full = FullKeyPath(keyPath);
    RegKey* key = doc->Find(full);
    if (key == nullptr) {
        // A key above a listed one exists, without values of its own.
        if (doc->Contains(full))
            return std::optional(std::vector<StoredValue>());
        return std::optional<std::vector<StoredValue>>();
    }
    std::vector<StoredValue> values;
    for (RegValue& v : key->values) {
        if (v.text)
            values.push_back({std::move(v.name), std::move(*v.text)});
    }
    return std::optional(std::move(values));
}

StoreResult<bool> RegFileStore::SetValues(const Text& keyPath,
                                          const std::vector<StoredValue>& values) {
    const Text full = FullKeyPath(keyPath);
    return Modify([&](RegDocument& doc) {
        SetStrings(doc.Ensure(full, kRoot), values);
        return true;
    });
}

}  // namespace velmo
