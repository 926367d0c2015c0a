#include "platform/registry_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "domain/reg_document.h"
#include "platform/windows_text.h"
#include "support/fakes.h"
#include "ui/app.h"
#include "ui/options.h"
#include "ui/settings.h"
#include "ui/startup.h"

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

    // The names of all values in the registry's own order.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        char name[16384];
        for (DWORD i = 0, length = sizeof name;
             RegEnumValueA(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr) ==
             ERROR_SUCCESS;
             ++i, length = sizeof name) {
            names.emplace_back(name, length);
        }
        return names;
    }

    // A value's type and its data as the ANSI entry point gives it.
    std::optional<std::pair<DWORD, std::string>> AnsiData(const std::string& name) const {
        DWORD type = 0;
        DWORD length = 0;
        std::string data;
        for (int pass = 0; pass < 2; ++pass) {
            data.resize(length);
            if (RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                 pass == 0 ? nullptr : reinterpret_cast<BYTE*>(data.data()),
                                 &length) != ERROR_SUCCESS) {
                return std::nullopt;
            }
        }
        data.resize(length);
        return std::make_pair(type, data);
    }

  private:
    HKEY key_ = nullptr;
};

// The values the store lists; none for a missing key.
std::vector<StoredValue> Listing(RegistryStore& store, const Text& keyPath) {
    return store.Values(keyPath).value_or(std::vector<StoredValue>());
}

// The text of one listed value.
std::optional<Text> TextOf(RegistryStore& store, const Text& keyPath, const Text& name) {
    for (const StoredValue& value : Listing(store, keyPath)) {
        if (FoldCase(value.name) == FoldCase(name))
            return value.text;
    }
    return std::nullopt;
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
    const std::vector<std::string> names = raw.Names();
    ASSERT_EQ(names.size(), 5u) << "a name in other case is the same value";
    const std::pair<std::string, std::string> bytes[] = {
        {"Program Values", ToUtf8(DefaultProgramValues)},
        {"Empty", ""},
        {"Stra\xDF"
         "e",
         "K\xF6ln \x97 5 \x80"},
        {"Huge", std::string(RegistryStore::kMaxTextBytes + 1, 'h')}};
    for (const auto& [name, data] : bytes) {
        const auto stored = raw.AnsiData(name);
        ASSERT_TRUE(stored.has_value()) << name;
        EXPECT_EQ(stored->first, static_cast<DWORD>(REG_SZ)) << name;
        EXPECT_EQ(stored->second, data + '\0') << name;
    }
    EXPECT_EQ(Listing(store, key_).size(), 4u) << "all but the one too long to read";
    EXPECT_EQ(TextOf(store, key_, U"Program Values"), Text(DefaultProgramValues));
    EXPECT_EQ(TextOf(store, key_, U"Empty"), Text());
    EXPECT_EQ(TextOf(store, key_, U"Straße"), Text(U"Köln — 5 €"));
    EXPECT_EQ(TextOf(store, key_, longName), longText);
}

// The program's own keys, read and saved through the registry. Test programs
// running side by side share the registry, so these take turns.
class RegistrySettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        turn_ = CreateMutexW(nullptr, FALSE, L"Local\\VelmoTest.ProgramKeys");
        ASSERT_NE(turn_, nullptr);
        const DWORD waited = WaitForSingleObject(turn_, 60000);
        ASSERT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED);
        held_ = true;
        RegistryStore::DeleteTree(kProgramKey);
    }
    void TearDown() override {
        RegistryStore::DeleteTree(kProgramKey);
        if (held_)
            ReleaseMutex(turn_);
        if (turn_ != nullptr)
            CloseHandle(turn_);
    }

    // A whole program in memory whose settings are in the registry.
    struct RegistryApp {
        testing::TestPlatform platform;
        RegistryStore store;
        App app{platform.ports(store)};
    };

    const Text kProgramKey = U"SOFTWARE\\Velmo\\";
    HANDLE turn_ = nullptr;
    bool held_ = false;
};

TEST_F(RegistrySettingsTest, AFirstStartCreatesTheEmptyKeysAndASaveIsReadBack) {
    RegistryApp first;
    App& app = first.app;
    ASSERT_TRUE(Main(app));
    EXPECT_TRUE(app.firstStart);
    EXPECT_EQ(EncodeProgramValues(ProgramFlags(ReadOptions(app.form))), DefaultProgramValues);
    EXPECT_TRUE(first.store.KeyExists(Text(UserKey)));
    EXPECT_TRUE(RawKey(Text(SettingsKey)).Names().empty()) << "values come only with a save";
    EXPECT_TRUE(first.platform.files.Exists(app.AppPath + U"Variable.txt")) << "sample quotes";

    RegistryApp second;
    ReadSettings(second.app);
    EXPECT_FALSE(second.app.firstStart);
    EXPECT_TRUE(second.app.ProgramValues.empty());
    App& saver = second.app;
    saver.form.optHTML.Value = true;
    saver.SignatureFilePath = U"C:\\Users\\Jörg\\Signatur „neu“.htm";
    saver.VariableFilePath = U"D:\\Zitate \"beste\".txt";
    saver.FixedTextFilePath = U"C:\\Program Files\\Velmo\\Fixed.fxt";
    testing::ChangeEveryOption(saver.form, U"  bottom é  ");
    SaveSettings(saver);
    SaveSettings(saver);  // a later save rewrites the same values
    const RawKey raw{Text(SettingsKey)};
    EXPECT_EQ(raw.Names().size(), 13u);
    EXPECT_EQ(raw.AnsiData("Program Values")->second.size(), 41u);

    RegistryApp next;
    ReadSettings(next.app);
    ApplyOptions(next.app);
    SignatureOptions expected = ReadOptions(saver.form);
    expected.topLike = U"~~ top — ~~";  // a top Like text is read without its blanks
    EXPECT_EQ(ReadOptions(next.app.form), expected);
    EXPECT_EQ(next.app.SignatureFilePath, saver.SignatureFilePath);
    EXPECT_EQ(next.app.VariableFilePath, saver.VariableFilePath);
    EXPECT_EQ(next.app.FixedTextFilePath, saver.FixedTextFilePath);
    EXPECT_TRUE(first.platform.messages.shown.empty());
    EXPECT_TRUE(second.platform.messages.shown.empty());
    EXPECT_TRUE(next.platform.messages.shown.empty());
}

}  // namespace
}  // namespace velmo
