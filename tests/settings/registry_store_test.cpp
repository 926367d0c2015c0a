#include "platform/registry_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "domain/reg_document.h"
#include "domain/stored_options.h"
#include "platform/windows_text.h"

namespace velmo {
namespace {

// A key opened through the API itself, to see what the store wrote.
class RawKey {
  public:
    explicit RawKey(Text path) {
        while (!path.empty() && path.back() == U'\\')
            path.pop_back();
        RegOpenKeyExW(HKEY_CURRENT_USER, ToWide(path).c_str(), 0, KEY_READ, &key_);
    }
    ~RawKey() { RegCloseKey(key_); }
    RawKey(const RawKey&) = delete;
    RawKey& operator=(const RawKey&) = delete;

    DWORD ValueCount() const {
        DWORD count = 0;
        RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr);
        return count;
    }

    // A value's type and its data as the ANSI entry point gives it.
    std::pair<DWORD, std::string> AnsiData(const std::string& name) const {
        std::string data(RegistryStore::kMaxTextBytes + 2, '\0');
        DWORD type = 0;
        DWORD length = static_cast<DWORD>(data.size());
        if (RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &length) != ERROR_SUCCESS) {
            return {};
        }
        data.resize(length);
        return {type, data};
    }

  private:
    HKEY key_ = nullptr;
};

// The values the store lists, by their names in lower case.
std::map<Text, Text> Listing(RegistryStore& store, const Text& keyPath) {
    std::map<Text, Text> values;
    for (const StoredValue& value : store.Values(keyPath).value_or(std::vector<StoredValue>()))
        values[FoldCase(value.name)] = value.text;
    return values;
}

// Each test works in a key of its own, removed afterwards.
class RegistryStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        key_ = U"SOFTWARE\\VelmoTest\\" + FromUtf8(name) + U"\\";
        RegistryStore::DeleteTree(key_);  // left over from an interrupted run
    }
    void TearDown() override {
        RegistryStore::DeleteTree(key_);
        // The common parent goes once no other test has a key in it.
        RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\VelmoTest");
    }

    RegistryStore store;
    Text key_;
};

TEST_F(RegistryStoreTest, KeysAreCreatedFoundAndDeleted) {
    EXPECT_FALSE(store.KeyExists(key_));
    EXPECT_FALSE(store.Values(key_).has_value());
    const Text settings = key_ + U"Freeware\\";
    ASSERT_TRUE(store.CreateKey(settings));
    EXPECT_TRUE(store.CreateKey(settings)) << "an existing key is fine";
    for (const Text& key : {key_, settings, key_ + U"Freeware", FoldCase(settings)})
        EXPECT_TRUE(store.KeyExists(key)) << ToUtf8(key);
    ASSERT_TRUE(store.Values(settings).has_value());
    EXPECT_TRUE(store.Values(settings)->empty()) << "a new key is empty";
    EXPECT_TRUE(RegistryStore::DeleteTree(key_));
    EXPECT_FALSE(store.KeyExists(key_));
    EXPECT_FALSE(RegistryStore::DeleteTree(key_)) << "nothing left to delete";
}

// Strings with their terminating zero, in the ANSI code page, of any length;
// a text too long to read is passed over and every other value is listed.
TEST_F(RegistryStoreTest, ValuesAreStringsInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    const Text longText = Text(254, U'f') + U"-and-more";
    const Text longName(300, U'n');
    ASSERT_TRUE(store.SetValue(key_, U"Program Values", U"first"));  // creates the key
    ASSERT_TRUE(store.SetValues(key_, {{U"PROGRAM VALUES", Text(DefaultProgramValues)},
                                       {U"Empty", U""},
                                       {U"Straße", U"Köln — 5 €"},
                                       {longName, longText},
                                       {U"Huge", Text(RegistryStore::kMaxTextBytes + 1, U'h')}}));
    const RawKey raw(key_);
    EXPECT_EQ(raw.ValueCount(), 5u) << "a name in other case is the same value";
    const std::pair<std::string, std::string> bytes[] = {
        {"Program Values", ToUtf8(DefaultProgramValues)},
        {"Empty", ""},
        {"Stra\xDF"
         "e",
         "K\xF6ln \x97 5 \x80"},
        {"Huge", std::string(RegistryStore::kMaxTextBytes + 1, 'h')}};
    for (const auto& [name, data] : bytes)
        EXPECT_EQ(raw.AnsiData(name), std::make_pair(DWORD{REG_SZ}, data + '\0')) << name;
    // All but the one too long to read.
    EXPECT_EQ(Listing(store, key_),
              (std::map<Text, Text>{{U"program values", Text(DefaultProgramValues)},
                                    {U"empty", U""},
                                    {U"straße", U"Köln — 5 €"},
                                    {longName, longText}}));
}

}  // namespace
}  // namespace velmo
