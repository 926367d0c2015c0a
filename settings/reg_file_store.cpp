#include "settings/reg_file_store.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "core/file_lock.h"
#include "core/file_text.h"

namespace velmo {

namespace {

constexpr TextView kRoot = U"HKEY_CURRENT_USER\\SOFTWARE\\Velmo";
constexpr size_t kMaxLength = 254;

bool Fits(const Text& text) {
    return text.size() <= kMaxLength;
}

}  // namespace

Text FullKeyPath(TextView keyPath) {
    while (!keyPath.empty() && keyPath.back() == U'\\')
        keyPath.remove_suffix(1);
    return U"HKEY_CURRENT_USER\\" + Text(keyPath);
}

RegFileStore::RegFileStore(FileStorePort& files, Text path)
    : files_(files), path_(std::move(path)) {}

Text RegFileStore::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config != nullptr && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home != nullptr ? home : "") + "/.config";
    }
    return FromUtf8(folder + "/Velmo/User.reg");
}

RegDocument RegFileStore::Load() {
    FileResult result;
    const std::optional<std::string> bytes = files_.Read(path_, result);
    if (!bytes) {
        if (result.Missing())
            return {};
        throw StoreFailure(EIO, "The settings file " + ToUtf8(path_) +
                                    " cannot be read: " + result.Message());
    }
    std::optional<RegDocument> doc = ParseRegDocument(DecodeFileText(*bytes));
    if (!doc) {
        // Kept aside before anything overwrites it.
        const std::string name = ToUtf8(path_);
        files_.Rename(path_, path_ + U".bad");
        throw StoreFailure(kCorruptFile, "The settings file " + name +
                                             " is not a registry file; it was kept as " + name +
                                             ".bad");
    }
    return std::move(*doc);
}

bool RegFileStore::Modify(const std::function<bool(RegDocument&)>& change) {
    const std::string name = ToUtf8(path_);
    const size_t slash = path_.rfind(U'/');
    if (slash != Text::npos && slash > 0)
        files_.MakeFolders(path_.substr(0, slash));
    FileLock lock(path_ + U".lock");
    RegDocument doc;
    try {
        doc = Load();
    } catch (const StoreFailure& failure) {
        // Only a corrupt file that is safely kept aside may be replaced by a
        // fresh one; any other file that cannot be read holds data to keep.
        if (failure.number() != kCorruptFile || files_.Exists(path_))
            throw;
        doc = {};
    }
    if (!change(doc))
        return false;
    const FileResult result = files_.Replace(path_, EncodeFileText(FormatRegDocument(doc)));
    if (!result) {
        throw StoreFailure(
            EIO, "The settings file " + name + " cannot be written: " + result.Message());
    }
    return true;
}

bool RegFileStore::KeyExists(const Text& keyPath) {
    return Load().Contains(FullKeyPath(keyPath));
}

bool RegFileStore::CreateKey(const Text& keyPath) {
    const Text full = FullKeyPath(keyPath);
    return Modify([&](RegDocument& doc) {
        doc.Ensure(full, kRoot);
        return true;
    });
}

std::optional<StoredValue> RegFileStore::ValueAt(const Text& keyPath, int index) {
    const RegDocument doc = Load();
    const RegKey* key = doc.Find(FullKeyPath(keyPath));
    if (key == nullptr || index < 0 || static_cast<size_t>(index) >= key->values.size()) {
        return std::nullopt;
    }
    const RegValue& v = key->values[static_cast<size_t>(index)];
    StoredValue out{v.name, v.text.value_or(v.raw)};
    // Like the registry's fixed buffers: an oversize value cannot be listed.
    if (!Fits(out.name) || !Fits(out.text))
        return std::nullopt;
    return out;
}

std::optional<Text> RegFileStore::QueryValue(const Text& keyPath, const Text& name) {
    const RegDocument doc = Load();
    const RegKey* key = doc.Find(FullKeyPath(keyPath));
    const RegValue* value = key != nullptr ? key->Find(name) : nullptr;
    if (value == nullptr || !value->text || !Fits(*value->text))
        return std::nullopt;
    return value->text;
}

bool RegFileStore::SetValue(const Text& keyPath, const Text& name, const Text& text) {
    const Text full = FullKeyPath(keyPath);
    return Modify([&](RegDocument& doc) {
        RegKey& key = doc.Ensure(full, kRoot);
        if (RegValue* existing = key.Find(name)) {
            existing->text = text;
            existing->raw.clear();
        } else {
            key.values.push_back({name, false, text, {}});
        }
        return true;
    });
}

}  // namespace velmo
