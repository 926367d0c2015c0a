#include "platform/registry_store.h"

#include <windows.h>

#include <algorithm>

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

bool SameLetters(TextView a, TextView b) {
    const auto lower = [](char32_t c) { return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char32_t x, char32_t y) { return lower(x) == lower(y); });
}

class Key {
  public:
    explicit Key(std::wstring name) : name_(std::move(name)) {}
    ~Key() {
        if (open_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    bool OpenForReading() {
        open_ =
            RegOpenKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS;
        return open_;
    }
    bool Create() {
        open_ =
            RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) == ERROR_SUCCESS;
        return open_;
    }
    HKEY get() const { return key_; }

  private:
    std::wstring name_;
    HKEY key_ = nullptr;
    bool open_ = false;
};

}  // namespace

Text RegistryStore::ProfileKey(const Text& keyPath, std::string_view profile) {
    constexpr TextView kVelmo = U"SOFTWARE\\Velmo\\";
    constexpr TextView kUser = U"User";
    const TextView path = keyPath;
    if (profile.empty() || path.size() < kVelmo.size() + kUser.size() ||
        !SameLetters(path.substr(0, kVelmo.size()), kVelmo) ||
        !SameLetters(path.substr(kVelmo.size(), kUser.size()), kUser))
        return keyPath;
    // SOFTWARE\Velmo\User itself or a key under it, not SOFTWARE\Velmo\Users.
    const TextView rest = path.substr(kVelmo.size() + kUser.size());
    if (!rest.empty() && rest.front() != U'\\')
        return keyPath;
    return Text(path.substr(0, kVelmo.size())) + U"Profiles\\" + FromUtf8(profile) + U"\\" +
           Text(path.substr(kVelmo.size()));
}

std::wstring RegistryStore::KeyName(const Text& keyPath) const {
    Text path = ProfileKey(keyPath, profile_);
    while (!path.empty() && path.back() == U'\\')
        path.pop_back();
    return ToWide(path);
}

StoreResult<bool> RegistryStore::KeyExists(const Text& keyPath) {
    Key key(KeyName(keyPath));
    return key.OpenForReading();
}

StoreResult<bool> RegistryStore::CreateKey(const Text& keyPath) {
    Key key(KeyName(keyPath));
    return key.Create();
}

StoreResult<std::optional<std::vector<StoredValue>>> RegistryStore::Values(const Text& keyPath) {
    Key key(KeyName(keyPath));
    if (!key.OpenForReading())
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
    Key key(KeyName(keyPath));
    if (!key.Create())
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
    return RegDeleteTreeW(HKEY_CURRENT_USER, RegistryStore().KeyName(keyPath).c_str()) ==
           ERROR_SUCCESS;
}

}  // namespace velmo
