#include "settings/registry_store.h"

#include <windows.h>

#include "core/windows_text.h"

namespace velmo {

namespace {

// Names and texts of at most 254 characters, as the program always read them.
constexpr DWORD kBuffer = 255;

std::string KeyName(const Text& keyPath) {
    Text path = keyPath;
    while (!path.empty() && path.back() == U'\\')
        path.pop_back();
    return ToAnsi(path);
}

class Key {
  public:
    Key() = default;
    ~Key() {
        if (open_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    bool OpenForReading(const Text& path) {
        open_ = RegOpenKeyExA(HKEY_CURRENT_USER, KeyName(path).c_str(), 0, KEY_READ, &key_) ==
                ERROR_SUCCESS;
        return open_;
    }
    bool Create(const Text& path) {
        open_ = RegCreateKeyExA(HKEY_CURRENT_USER, KeyName(path).c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key_,
                                nullptr) == ERROR_SUCCESS;
        return open_;
    }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
    bool open_ = false;
};

}  // namespace

bool RegistryStore::KeyExists(const Text& keyPath) {
    Key key;
    return key.OpenForReading(keyPath);
}

bool RegistryStore::CreateKey(const Text& keyPath) {
    Key key;
    return key.Create(keyPath);
}

std::optional<StoredValue> RegistryStore::ValueAt(const Text& keyPath, int index) {
    Key key;
    if (index < 0 || !key.OpenForReading(keyPath))
        return std::nullopt;
    char name[kBuffer];
    BYTE data[kBuffer];
    DWORD nameLength = kBuffer;
    DWORD dataLength = kBuffer;
    DWORD type = 0;
    // A name or text too long for the buffers fails (ERROR_MORE_DATA) and ends the listing.
    if (RegEnumValueA(key.get(), static_cast<DWORD>(index), name, &nameLength, nullptr, &type, data,
                      &dataLength) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const DWORD textLength =
        dataLength > 0 && data[dataLength - 1] == 0 ? dataLength - 1 : dataLength;
    return StoredValue{FromAnsi(std::string_view(name, nameLength)),
                       FromAnsi(std::string_view(reinterpret_cast<const char*>(data), textLength))};
}

std::optional<Text> RegistryStore::QueryValue(const Text& keyPath, const Text& name) {
    Key key;
    if (!key.OpenForReading(keyPath))
        return std::nullopt;
    BYTE data[kBuffer];
    DWORD length = kBuffer;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), ToAnsi(name).c_str(), nullptr, &type, data, &length) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        // Only string values are texts; another type reads as not found.
        return std::nullopt;
    }
    if (length == 0) {
        // Not even the terminating zero: the value cannot be a text.
        throw StoreFailure(13, "Type mismatch: the value " + ToUtf8(name) + " holds no text");
    }
    return FromAnsi(std::string_view(reinterpret_cast<const char*>(data), length - 1));
}

bool RegistryStore::SetValue(const Text& keyPath, const Text& name, const Text& text) {
    Key key;
    if (!key.Create(keyPath))
        return false;
    const std::string bytes = ToAnsi(text);
    // The text and its terminating zero.
    return RegSetValueExA(key.get(), ToAnsi(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(bytes.c_str()),
                          static_cast<DWORD>(bytes.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryStore::DeleteTree(const Text& keyPath) {
    return RegDeleteTreeA(HKEY_CURRENT_USER, KeyName(keyPath).c_str()) == ERROR_SUCCESS;
}

}  // namespace velmo
