#include "platform/registry_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/windows_text.h"
#include "support/fakes.h"
#include "ui/app.h"
#include "ui/options.h"
#include "ui/settings.h"
#include "ui/startup.h"

namespace velmo {
namespace {

// The key as the registry API names it: no trailing backslash.
std::wstring WideKeyName(Text keyPath) {
    while (!keyPath.empty() && keyPath.back() == U'\\')
        keyPath.pop_back();
    return ToWide(keyPath);
}

// A key opened through the API itself, to see what the store wrote.
class RawKey {
  public:
    explicit RawKey(const Text& keyPath) {
        open_ = RegOpenKeyExW(HKEY_CURRENT_USER, WideKeyName(keyPath).c_str(), 0, KEY_READ,
                              &key_) == ERROR_SUCCESS;
    }
    ~RawKey() {
        if (open_)
            RegCloseKey(key_);
    }
    RawKey(const RawKey&) = delete;
    RawKey& operator=(const RawKey&) = delete;
    bool open() const { return open_; }

    // The names of all values in the registry's own order, whatever their size.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            std::string name(16384, '\0');
            DWORD length = static_cast<DWORD>(name.size());
            if (RegEnumValueA(key_, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            name.resize(length);
            names.push_back(name);
        }
        return names;
    }

    // A value's type and its data as the ANSI entry point gives it.
    std::optional<std::pair<DWORD, std::string>> AnsiData(const std::string& name) const {
        DWORD type = 0;
        DWORD length = 0;
        if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &length) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::string data(length, '\0');
        if (RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &length) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(length);
        return std::make_pair(type, data);
    }

    // A string value as every Unicode program (the Registry Editor) sees it.
    std::optional<std::wstring> WideText(const std::wstring& name) const {
        wchar_t data[1024];
        DWORD length = sizeof data;
        DWORD type = 0;
        if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data),
                             &length) != ERROR_SUCCESS ||
            type != REG_SZ) {
            return std::nullopt;
        }
        std::wstring text(data, length / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return text;
    }

  private:
    HKEY key_ = nullptr;
    bool open_ = false;
};

// The values the store lists; none for a missing key.
std::vector<StoredValue> Listing(RegistryStore& store, const Text& keyPath) {
    return store.Values(keyPath).value_or(std::vector<StoredValue>());
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
    EXPECT_FALSE(store.QueryValue(key_, U"Program Values").has_value());

    const Text settings = key_ + U"Freeware\\";
    ASSERT_TRUE(store.CreateKey(settings));
    EXPECT_TRUE(store.KeyExists(key_)) << "the keys above are created too";
    EXPECT_TRUE(store.KeyExists(settings));
    EXPECT_TRUE(store.KeyExists(key_ + U"Freeware")) << "with or without the backslash";
    Text upper = settings;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char32_t c) { return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c; });
    EXPECT_TRUE(store.KeyExists(upper)) << "key paths match without regard to case";
    EXPECT_TRUE(store.CreateKey(settings)) << "an existing key is fine";
    ASSERT_TRUE(store.Values(settings).has_value());
    EXPECT_TRUE(store.Values(settings)->empty()) << "a new key is empty";

    EXPECT_TRUE(RegistryStore::DeleteTree(key_));
    EXPECT_FALSE(store.KeyExists(settings));
    EXPECT_FALSE(store.KeyExists(key_));
    EXPECT_FALSE(RegistryStore::DeleteTree(key_)) << "nothing left to delete";
}

TEST_F(RegistryStoreTest, ValuesAreStringsWithTheirTerminatingZero) {
    // Writing creates the key when it is missing.
    ASSERT_TRUE(store.SetValue(key_, U"Program Values", Text(DefaultProgramValues)));
    ASSERT_TRUE(store.SetValue(key_, U"Empty", U""));
    EXPECT_EQ(store.QueryValue(key_, U"Program Values"), Text(DefaultProgramValues));
    EXPECT_EQ(store.QueryValue(key_, U"Empty"), Text());
    EXPECT_FALSE(store.QueryValue(key_, U"Absent").has_value());

    const RawKey raw(key_);
    ASSERT_TRUE(raw.open());
    const auto program = raw.AnsiData("Program Values");
    ASSERT_TRUE(program.has_value());
    EXPECT_EQ(program->first, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(program->second.size(), 41u);
    EXPECT_EQ(program->second, ToUtf8(DefaultProgramValues) + '\0');
    const auto empty = raw.AnsiData("Empty");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->first, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(empty->second, std::string(1, '\0'));

    // Writing again replaces the text and adds no value, whatever the case.
    ASSERT_TRUE(store.SetValue(key_, U"Program Values", U"shorter"));
    EXPECT_EQ(store.QueryValue(key_, U"Program Values"), Text(U"shorter"));
    EXPECT_EQ(raw.AnsiData("Program Values")->second, std::string("shorter") + '\0');
    ASSERT_TRUE(store.SetValues(key_, {{U"PROGRAM VALUES", U"again"}, {U"empty", U"e"}}));
    EXPECT_EQ(store.QueryValue(key_, U"Program Values"), Text(U"again"));
    EXPECT_EQ(store.QueryValue(key_, U"Empty"), Text(U"e"));
    EXPECT_EQ(raw.Names().size(), 2u);
}

TEST_F(RegistryStoreTest, LongTextsAndNamesAreReadWhole) {
    const Text longText = Text(254, U'f') + U"-and-more";
    const Text longName(300, U'n');
    ASSERT_TRUE(store.SetValues(key_, {{U"Long", longText}, {longName, U"x"}}));
    EXPECT_EQ(store.QueryValue(key_, U"Long"), longText);
    EXPECT_EQ(store.QueryValue(key_, longName), Text(U"x"));
    const std::vector<StoredValue> listed = Listing(store, key_);
    ASSERT_EQ(listed.size(), 2u);
    for (const StoredValue& value : listed)
        EXPECT_EQ(value.text, value.name == U"Long" ? longText : Text(U"x"));
}

// Whatever order the registry lists the values in, a text too long to read
// is passed over and every other value is listed.
TEST_F(RegistryStoreTest, ATextTooLongToReadIsPassedOverAndTheRestAreRead) {
    for (const Text name : {U"Alpha", U"Mike", U"Zulu", U"Indent"})
        ASSERT_TRUE(store.SetValue(key_, name, name + U" text"));
    ASSERT_TRUE(store.SetValue(key_, U"Huge", Text(RegistryStore::kMaxTextBytes + 1, U'h')));
    std::vector<std::string> names = RawKey(key_).Names();
    ASSERT_EQ(names.size(), 5u);
    names.erase(std::find(names.begin(), names.end(), "Huge"));

    const std::vector<StoredValue> listed = Listing(store, key_);
    ASSERT_EQ(listed.size(), names.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(ToUtf8(listed[i].name), names[i]);
        EXPECT_EQ(listed[i].text, listed[i].name + U" text");
    }
    EXPECT_FALSE(store.QueryValue(key_, U"Huge").has_value());
    const auto data = RawKey(key_).AnsiData("Huge");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->second.size(), RegistryStore::kMaxTextBytes + 2) << "stored whole all the same";
}

TEST_F(RegistryStoreTest, TextIsStoredInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    ASSERT_TRUE(store.SetValue(key_, U"Name", U"Müller"));
    EXPECT_EQ(store.QueryValue(key_, U"Name"), Text(U"Müller"));

    const RawKey raw(key_);
    EXPECT_EQ(raw.AnsiData("Name")->second, std::string("M\xFCller") + '\0');
    // What the Registry Editor and every other Unicode program shows.
    EXPECT_EQ(raw.WideText(L"Name"), std::wstring(L"M\u00FCller"));

    ASSERT_TRUE(store.SetValue(key_, U"Straße", U"Köln — 5 €"));
    EXPECT_EQ(raw.WideText(L"Stra\u00DFe"), std::wstring(L"K\u00F6ln \u2014 5 \u20AC"));
    for (const StoredValue& value : Listing(store, key_)) {
        if (value.name == U"Straße") {
            EXPECT_EQ(value.text, U"Köln — 5 €");
        } else {
            EXPECT_EQ(value.name, U"Name");
        }
    }
    EXPECT_EQ(Listing(store, key_).size(), 2u);
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

    static Text Packed(const App& app) {
        return EncodeProgramValues(ProgramFlags(ReadOptions(app.form)));
    }

    const Text kProgramKey = U"SOFTWARE\\Velmo\\";
    HANDLE turn_ = nullptr;
    bool held_ = false;
};

TEST_F(RegistrySettingsTest, AMissingKeyIsAFirstRun) {
    RegistryApp first;
    App& app = first.app;
    ASSERT_EQ(app.form.chkFile.Value.get(), 1) << "the window starts otherwise than the defaults";
    ReadSettings(app);
    EXPECT_TRUE(app.ProgramValues.empty());
    for (const Text& value : app.SettingValues)
        EXPECT_TRUE(value.empty());
    EXPECT_EQ(app.form.chkFile.Value.get(), 0);
    EXPECT_EQ(Packed(app), DefaultProgramValues);
    EXPECT_EQ(app.form.txtTBLike.Text.get(), DefaultLikeBorder);
    EXPECT_TRUE(first.platform.messages.shown.empty());

    // Both keys now exist, with nothing in them; the next start reads nothing.
    EXPECT_TRUE(first.store.KeyExists(Text(UserKey)));
    EXPECT_TRUE(RawKey(Text(SettingsKey)).Names().empty());
    RegistryApp next;
    ReadSettings(next.app);
    EXPECT_TRUE(next.app.ProgramValues.empty());
    EXPECT_TRUE(RawKey(Text(SettingsKey)).Names().empty());
}

TEST_F(RegistrySettingsTest, FirstStartCreatesTheEmptySettingsKey) {
    RegistryApp first;
    ASSERT_TRUE(Main(first.app));
    EXPECT_TRUE(first.store.KeyExists(Text(SettingsKey)));
    EXPECT_TRUE(Listing(first.store, Text(SettingsKey)).empty());
    EXPECT_TRUE(RawKey(Text(SettingsKey)).Names().empty()) << "values come only with a save";
    // A first start, so the sample list was written and a quote is shown.
    EXPECT_TRUE(first.platform.files.Exists(first.app.AppPath + U"Variable.txt"));
    EXPECT_NE(first.app.PickedText, U"");
    EXPECT_TRUE(first.platform.messages.shown.empty());
}

TEST_F(RegistrySettingsTest, ASaveWritesTheThirteenValues) {
    RegistryApp first;
    ReadSettings(first.app);
    SaveSettings(first.app);
    SaveSettings(first.app);  // a later save rewrites the same values

    const Text key(SettingsKey);
    EXPECT_EQ(Listing(first.store, key).size(), 13u);
    const RawKey raw(key);
    const std::vector<std::string> names = raw.Names();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 13u);
    for (TextView name : StoredValueNames) {
        const auto data = raw.AnsiData(ToUtf8(name));
        ASSERT_TRUE(data.has_value()) << ToUtf8(name);
        EXPECT_EQ(data->first, static_cast<DWORD>(REG_SZ)) << ToUtf8(name);
        const std::optional<Text> text = first.store.QueryValue(key, Text(name));
        ASSERT_TRUE(text.has_value()) << ToUtf8(name);
        EXPECT_EQ(data->second.size(), text->size() + 1) << ToUtf8(name);
    }
    EXPECT_EQ(raw.AnsiData("Program Values")->second.size(), 41u);
    EXPECT_TRUE(first.platform.messages.shown.empty());
}

TEST_F(RegistrySettingsTest, AReadGivesEveryOptionBack) {
    RegistryApp first;
    App& app = first.app;
    MainForm& form = app.form;
    ReadSettings(app);
    form.optHTML.Value = true;
    app.SignatureFilePath = U"C:\\Users\\Jörg\\Signatur „neu“.htm";
    app.VariableFilePath = U"D:\\Zitate \"beste\".txt";
    app.FixedTextFilePath = U"C:\\Program Files\\Velmo\\Fixed.fxt";
    testing::ChangeEveryOption(form, U"  bottom é  ");
    const Text packed = Packed(app);
    ASSERT_EQ(packed, U" 7 1 1 0 1 1-1 0 1-1 0 0-1-1 0-1 0 0 0 2");
    SaveSettings(app);

    RegistryApp next;
    ReadSettings(next.app);
    ApplyOptions(next.app);
    const MainForm& g = next.app.form;
    EXPECT_EQ(next.app.ProgramValues, packed);
    EXPECT_EQ(Packed(next.app), packed);
    EXPECT_TRUE(g.optTBLike.Value);
    EXPECT_EQ(g.cmbFixWidth.Text.get(), U"40");
    EXPECT_EQ(g.txtTBLike.Text.get(), U"~~ top — ~~") << "a top Like text comes back trimmed";
    EXPECT_EQ(g.txtTBRepeat.Text.get(), U"\"\\");
    EXPECT_EQ(g.cmbWidth.Text.get(), U"100");
    EXPECT_EQ(g.txtBBLike.Text.get(), U"  bottom é  ");
    EXPECT_EQ(g.txtBBRepeat.Text.get(), U"=-");
    EXPECT_EQ(g.txtSBSLeftLike.Text.get(), U"<|");
    EXPECT_EQ(g.cmbSBSIndent.Text.get(), U"4");
    EXPECT_EQ(g.txtSBSRightLike.Text.get(), U"|>");
    EXPECT_EQ(next.app.SignatureFilePath, app.SignatureFilePath);
    EXPECT_EQ(next.app.VariableFilePath, app.VariableFilePath);
    EXPECT_EQ(next.app.FixedTextFilePath, app.FixedTextFilePath);
    EXPECT_TRUE(next.platform.messages.shown.empty());
}

}  // namespace
}  // namespace velmo
