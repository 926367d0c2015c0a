#include "platform/registry_store.h"

#include <windows.h>

#include "platform/windows_text.h"

namespace velmo {

namespace {

// A value name has at most 16,383 characters; in ANSI each may take up to
// three bytes (UTF-8 as the code page), and the terminating zero one more.
constexpr DWORD kNameBytes = 16383 * 3 + 1;
constexpr DWORD kDataBytes = RegistryStore::kMaxTextBytes + 1;

// A string value's data without its terminating zero, when it has one.
Text TextOf(const std::string& data, DWORD length) {
    if (length > 0 && data[length - 1] == '\0')
        --length;
    return FromAnsi(std::string_view(data.data(), length));
}

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

StoreResult<bool> RegistryStore::KeyExists(const Text& keyPath) {
    Key key;
    return key.OpenForReading(keyPath);
}

StoreResult<bool> RegistryStore::CreateKey(const Text& keyPath) {
    Key key;
    return key.Create(keyPath);
}

StoreResult<std::optional<std::vector<StoredValue>>> RegistryStore::Values(const Text& keyPath) {
    Key key;
    if (!key.OpenForReading(keyPath))
        return std::optional<std::vector<StoredValue>>();
    std::string name(kNameBytes, '\0');
    std::string data(kDataBytes, '\0');
    std::vector<StoredValue> values;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kNameBytes;
        DWORD dataLength = kDataBytes;
        DWORD type = 0;
        const LONG status = RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr,
                                          &type, reinterpret_cast<BYTE*>(data.data()), &dataLength);
        // A value too long to read is passed over; the others are still read.
        if (status == ERROR_MORE_DATA)
            continue;
        // No more values (ERROR_NO_MORE_ITEMS), or the key has gone.
        if (status != ERROR_SUCCESS)
            break;
        // Only string values are texts.
        if (type == REG_SZ) {
            values.push_back(
                {FromAnsi(std::string_view(name.data(), nameLength)), TextOf(data, dataLength)});
        }
    }
    return std::optional(std::move(values));
}

StoreResult<bool> RegistryStore::SetValues(const Text& keyPath,
                                           const std::vector<StoredValue>& values) {
    Key key;
    if (!key.Create(keyPath))
        return false;
    bool written = true;
    for (const StoredValue& value : values) {
        const std::string bytes = ToAnsi(value.text);
        // The text and its terminating zero.
        written = RegSetValueExA(key.get(), ToAnsi(value.name).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(bytes.c_str()),
                                 static_cast<DWORD>(bytes.size() + 1)) == ERROR_SUCCESS &&
                  written;
    }
    return written;
}

bool RegistryStore::DeleteTree(const Text& keyPath) {
    return RegDeleteTreeA(HKEY_CURRENT_USER, KeyName(keyPath).c_str()) == ERROR_SUCCESS;
}

}  // namespace velmo
