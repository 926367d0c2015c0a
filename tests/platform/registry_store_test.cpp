#include "platform/registry_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "domain/reg_document.h"
#include "domain/stored_options.h"
#include "platform/windows_text.h"

namespace velmo {
namespace {

// The test works in a key of its own, removed before (left by an interrupted
// run) and after.
class RegistryStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { RegistryStore::DeleteTree(key_); }
    void TearDown() override { RegistryStore::DeleteTree(key_); }

    // A value's data as the ANSI entry point reads it.
    std::string RawValue(const char* name) const {
        std::string data(RegistryStore::kMaxTextLength + 2, '\0');
        DWORD length = static_cast<DWORD>(data.size());
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_CURRENT_USER, kAnsiKey, 0, KEY_READ, &key);  // none: no value read
        const LONG status = RegQueryValueExA(key, name, nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(data.data()), &length);
        RegCloseKey(key);
        data.resize(status == ERROR_SUCCESS ? length : 0);
        return data;
    }

    static constexpr const char* kAnsiKey = "SOFTWARE\\VelmoTest";
    const Text key_ = U"SOFTWARE\\VelmoTest\\";
    RegistryStore store;
};

// Keys are found with or without their last separator, in any case. Values
// are strings with their terminating zero, of any length up to the limit and
// any characters, read as the ANSI entry points read them in the code page;
// a text over the limit or a value of another type is passed over, and every
// other value is listed, those written through the ANSI entry points too.
TEST_F(RegistryStoreTest, KeysAndTheStringValuesInThem) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    EXPECT_FALSE(RegistryStore::DeleteTree(key_)) << "nothing to delete";
    EXPECT_FALSE(store.Values(key_).value().has_value());
    const Text settings = key_ + U"Freeware\\";
    ASSERT_TRUE(store.CreateKey(settings).value_or(false));
    for (const Text& key : {key_, settings, key_ + U"Freeware", FoldCase(settings)})
        EXPECT_TRUE(store.KeyExists(key).value_or(false)) << ToUtf8(key);
    EXPECT_TRUE(store.Values(settings).value().value_or(std::vector<StoredValue>(1)).empty())
        << "new";
    EXPECT_TRUE(RegistryStore::DeleteTree(key_));
    EXPECT_FALSE(store.KeyExists(key_).value_or(false));

    const Text longText(RegistryStore::kMaxTextLength, U'f');
    const Text longName(300, U'n');
    ASSERT_TRUE(
        store.SetValues(key_, {{U"Program Values", U"first"}}).value_or(false));  // creates the key
    ASSERT_TRUE(store
                    .SetValues(key_, {{U"Huge", Text(RegistryStore::kMaxTextLength + 1, U'h')},
                                      {U"PROGRAM VALUES", Text(DefaultProgramValues)},
                                      {U"Empty", U""},
                                      {U"Fuß", U"Köln — 5 €"},
                                      {U"Rand \u2605", U"\u2605\u3013\U0001F600 \u03B1"},
                                      {longName, longText}})
                    .value_or(false));
    const DWORD number = 7;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kAnsiKey, "Number", REG_DWORD, &number, 4), 0);
    const char older[] =
        "Stra\xDF"
        "e \x97 \x80";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kAnsiKey, "Older", REG_SZ, older, sizeof older),
              0);
    EXPECT_EQ(RawValue("Empty"), std::string(1, '\0'));
    EXPECT_EQ(RawValue("Fu\xDF"), std::string("K\xF6ln \x97 5 \x80") + '\0');
    std::map<Text, Text> listed;  // by the names in lower case
    for (const StoredValue& value : store.Values(key_).value().value_or(std::vector<StoredValue>()))
        listed[FoldCase(value.name)] = value.text;
    EXPECT_EQ(listed, (std::map<Text, Text>{{U"program values", Text(DefaultProgramValues)},
                                            {U"empty", U""},
                                            {U"fuß", U"Köln — 5 €"},
                                            {U"rand \u2605", U"\u2605\u3013\U0001F600 \u03B1"},
                                            {U"older", U"Straße — €"},
                                            {longName, longText}}));
}

// A named profile's settings keys are under SOFTWARE\Velmo\Profiles\NAME,
// however the path is cased or ended; the default profile's and every key
// that is not the user's settings stay where they are.
TEST(RegistryStoreProfileTest, WhereAProfileKeepsAKey) {
    const std::tuple<TextView, const char*, TextView> rows[] = {
        {U"SOFTWARE\\Velmo\\User\\Freeware", "", U"SOFTWARE\\Velmo\\User\\Freeware"},
        {U"SOFTWARE\\Velmo\\User\\Freeware", "work",
         U"SOFTWARE\\Velmo\\Profiles\\work\\User\\Freeware"},
        {U"SOFTWARE\\Velmo\\User\\", "a.b_C-1", U"SOFTWARE\\Velmo\\Profiles\\a.b_C-1\\User\\"},
        {U"SOFTWARE\\Velmo\\User", "work", U"SOFTWARE\\Velmo\\Profiles\\work\\User"},
        {U"software\\velmo\\USER\\freeware", "work",
         U"software\\velmo\\Profiles\\work\\USER\\freeware"},
        {U"SOFTWARE\\Velmo\\Users\\Freeware", "work", U"SOFTWARE\\Velmo\\Users\\Freeware"},
        {U"SOFTWARE\\Velmo\\Use", "work", U"SOFTWARE\\Velmo\\Use"},
        {U"SOFTWARE\\Velmo\\", "work", U"SOFTWARE\\Velmo\\"},
        {U"SOFTWARE\\VelmoTest\\User", "work", U"SOFTWARE\\VelmoTest\\User"},
        {U"SOFTWARE\\Other\\Velmo\\User", "work", U"SOFTWARE\\Other\\Velmo\\User"},
        {U"", "work", U""},
    };
    for (const auto& [key, profile, kept] : rows)
        EXPECT_EQ(ToUtf8(RegistryStore::ProfileKey(Text(key), profile)), ToUtf8(kept))
            << ToUtf8(key) << " for '" << profile << "'";
}

// Two profiles' settings in the real registry: each store reads what it
// wrote, in the profile's own key, and never the other's. Only profiles of
// the test's own are written: the default profile's key is the user's.
TEST(RegistryStoreProfileTest, TwoProfilesKeptApart) {
    const Text settings = U"SOFTWARE\\Velmo\\User\\Freeware";
    const char* const names[] = {"vtest-one", "vtest-two"};
    for (const char* name : names)
        RegistryStore::DeleteTree(U"SOFTWARE\\Velmo\\Profiles\\" + FromUtf8(name));
    RegistryStore one(names[0]);
    RegistryStore two(names[1]);
    EXPECT_FALSE(one.KeyExists(settings).value_or(true));
    ASSERT_TRUE(one.SetValues(settings, {{U"Signature File", U"C:\\one.txt"}, {U"Only one", U"1"}})
                    .value_or(false));
    EXPECT_TRUE(one.KeyExists(settings).value_or(false));
    EXPECT_FALSE(two.KeyExists(U"SOFTWARE\\Velmo\\User\\").value_or(true));
    ASSERT_TRUE(two.CreateKey(settings).value_or(false));
    ASSERT_TRUE(two.SetValues(settings, {{U"Signature File", U"C:\\two.txt"}}).value_or(false));

    const auto listed = [&](RegistryStore& store) {
        std::map<Text, Text> values;
        for (const StoredValue& value :
             store.Values(settings).value().value_or(std::vector<StoredValue>()))
            values[value.name] = value.text;
        return values;
    };
    EXPECT_EQ(listed(one),
              (std::map<Text, Text>{{U"Signature File", U"C:\\one.txt"}, {U"Only one", U"1"}}));
    EXPECT_EQ(listed(two), (std::map<Text, Text>{{U"Signature File", U"C:\\two.txt"}}));
    // Where another program, the Registry Editor say, finds them.
    wchar_t data[64];
    DWORD size = sizeof data;
    ASSERT_EQ(
        RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Velmo\\Profiles\\vtest-two\\User\\Freeware",
                     L"Signature File", RRF_RT_REG_SZ, nullptr, data, &size),
        ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(data), L"C:\\two.txt");
    // Read only: whatever the default profile has is not the test's.
    RegistryStore defaults;
    EXPECT_FALSE(listed(defaults).contains(U"Only one"));

    for (const char* name : names)
        EXPECT_TRUE(RegistryStore::DeleteTree(U"SOFTWARE\\Velmo\\Profiles\\" + FromUtf8(name)));
}

}  // namespace
}  // namespace velmo
