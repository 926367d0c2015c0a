#include "platform/registry_store.h"

#include <windows.h>

#include "platform/windows_text.h"

namespace velmo {

namespace {

// A value name has at most 16,383 characters, and a terminating zero.
constexpr DWORD kNameLength = 16383 + 1;
constexpr DWORD kDataBytes = (RegistryStore::kMaxTextLength + 1) * sizeof(wchar_t);

// A string value's data without its terminating zero, when it has one.
Text TextOf(const std::wstring& data, DWORD bytes) {
    size_t length = bytes / sizeof(wchar_t);
    if (length > 0 && data[length - 1] == L'\0')
        --length;
    return FromWide(std::wstring_view(data.data(), length));
}

std::wstring KeyName(const Text& keyPath) {
    Text path = keyPath;
    while (!path.empty() && path.back() == U'\\')
        path.pop_back();
    return ToWide(path);
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
        open_ = RegOpenKeyExW(HKEY_CURRENT_USER, KeyName(path).c_str(), 0, KEY_READ, &key_) ==
                ERROR_SUCCESS;
        return open_;
    }
    bool Create(const Text& path) {
        open_ = RegCreateKeyExW(HKEY_CURRENT_USER, KeyName(path).c_str(), 0, nullptr,
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
    std::wstring name(kNameLength, L'\0');
    std::wstring data(kDataBytes / sizeof(wchar_t), L'\0');
    std::vector<StoredValue> values;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kNameLength;
        DWORD dataLength = kDataBytes;
        DWORD type = 0;
        const LONG status = RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr,
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
                {FromWide(std::wstring_view(name.data(), nameLength)), TextOf(data, dataLength)});
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
        const std::wstring wide = ToWide(value.text);
        // The text and its terminating zero.
        written = RegSetValueExW(key.get(), ToWide(value.name).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(wide.c_str()),
                                 static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) ==
                      ERROR_SUCCESS &&
                  written;
    }
    return written;
}

bool RegistryStore::DeleteTree(const Text& keyPath) {
    return RegDeleteTreeW(HKEY_CURRENT_USER, KeyName(keyPath).c_str()) == ERROR_SUCCESS;
}

}  // namespace velmo
