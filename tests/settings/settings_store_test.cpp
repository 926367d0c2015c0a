#include "ui/settings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "domain/reg_document.h"
#include "platform/file_text.h"
#include "support/fakes.h"
#include "support/text_helpers.h"
#include "ui/options.h"

namespace velmo {
namespace {

using testing::Lines;

const Text kKeys = Lines({
    U"REGEDIT4",
    U"",
    U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]",
    U"",
    U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]",
});

// What start-up does with the stored options once they are read.
void Start(App& app) {
    ReadSettings(app);
    if (app.ProgramValues.empty())
        SetDefaults(app);
    else
        ApplyOptions(app);
}

class SettingsStoreTest : public ::testing::Test, protected testing::TestApp {
  protected:
    MainForm& form = app.form;

    Text Content() const { return DecodeFileText(files.files.at(testing::kTestSettingsFile)); }
    void Put(const Text& content) {
        files.files[testing::kTestSettingsFile] = EncodeFileText(content);
    }

    // The values of the settings key in the file, in file order.
    std::vector<std::pair<Text, Text>> Saved() const {
        const std::optional<RegDocument> doc = ParseRegDocument(Content());
        EXPECT_TRUE(doc) << "the file is a registry file";
        std::vector<std::pair<Text, Text>> values;
        const RegKey* key = doc ? doc->Find(U"HKEY_CURRENT_USER\\" + Text(SettingsKey)) : nullptr;
        if (key != nullptr) {
            for (const RegValue& v : key->values)
                values.emplace_back(v.name, v.text.value_or(U"(raw) " + v.raw));
        }
        return values;
    }
    std::vector<Text> SavedNames() const {
        std::vector<Text> names;
        for (const auto& [name, text] : Saved())
            names.push_back(name);
        return names;
    }
    Text SavedText(TextView name) const {
        for (const auto& [n, text] : Saved()) {
            if (n == name)
                return text;
        }
        ADD_FAILURE() << "no value " << ToUtf8(name);
        return {};
    }
};

const std::vector<Text> kNamesInOrder = {
    U"Program Values",  U"Fixed width",      U"Top text like",      U"Top text repeat",
    U"Signature width", U"Bottom text like", U"Bottom text repeat", U"Left text like",
    U"Indent",          U"Right text like",  U"Signature File",     U"Variable File",
    U"Fixed text File",
};

// A settings key written by hand, after the two keys.
Text WithValues(std::initializer_list<Text> lines) {
    return kKeys + Lines(lines);
}

TEST_F(SettingsStoreTest, ASaveWritesTheThirteenValuesInOrderAndTheNextStartReadsThemBack) {
    ReadSettings(app);
    EXPECT_TRUE(app.firstStart);
    SaveSettings(app);
    const Text stars(DefaultLikeBorder);
    EXPECT_EQ(Content(), WithValues({
                             U"\"Program Values\"=\"" + Text(DefaultProgramValues) + U"\"",
                             U"\"Fixed width\"=\"60\"",
                             U"\"Top text like\"=\"" + stars + U"\"",
                             U"\"Top text repeat\"=\"*\"",
                             U"\"Signature width\"=\"60\"",
                             U"\"Bottom text like\"=\"" + stars + U"\"",
                             U"\"Bottom text repeat\"=\"*\"",
                             U"\"Left text like\"=\"*\"",
                             U"\"Indent\"=\"1\"",
                             U"\"Right text like\"=\"*\"",
                             U"\"Signature File\"=\"\"",
                             U"\"Variable File\"=\"\"",
                             U"\"Fixed text File\"=\"\"",
                         }));
    EXPECT_TRUE(app.ProgramValues.empty()) << "saving does not change the stored form read";

    // A later save rewrites the same thirteen in place, in one replace of the
    // file, so that a failure cannot leave some old values and some new.
    form.optHTML.Value = true;
    app.SignatureFilePath = U"/home/jörg/Signatur „neu“.htm";
    app.VariableFilePath = U"C:\\Users\\jörg\\quotes \"best\".txt";
    app.FixedTextFilePath = U"/opt/velmo/Fixed.fxt";
    testing::ChangeEveryOption(form, U"  bottom  ");
    const int reads = files.reads;
    const int writes = files.writes;
    SaveSettings(app);
    EXPECT_EQ(files.reads - reads, 1);
    EXPECT_EQ(files.writes - writes, 1);
    EXPECT_EQ(SavedNames(), kNamesInOrder);
    EXPECT_EQ(SavedText(U"Top text like"), U"  ~~ top — ~~  ") << "stored as it stands";

    testing::TestApp next;
    next.files.files = files.files;
    Start(next.app);
    SignatureOptions expected = ReadOptions(form);
    expected.topLike = U"~~ top — ~~";  // a top Like text is read without its blanks
    EXPECT_EQ(ReadOptions(next.app.form), expected);
    EXPECT_EQ(next.app.SignatureFilePath, app.SignatureFilePath);
    EXPECT_EQ(next.app.VariableFilePath, app.VariableFilePath);
    EXPECT_EQ(next.app.FixedTextFilePath, U"/opt/velmo/Fixed.fxt");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(next.messages.shown.empty());
}

TEST_F(SettingsStoreTest, NamesMatchWithoutRegardToCaseAndASaveSpellsThemRight) {
    Put(Lines({
        U"REGEDIT4",
        U"",
        U"[hkey_current_user\\software\\velmo\\user\\freeware]",
        U"\"program values\"=\" 7 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1\"",
        U"\"FIXED WIDTH\"=\"100\"",
        U"\"Unknown\"=\"x\"",
        U"@=\"default\"",
        U"\"Indent\"=dword:00000002",
        U"\"Signature width\"=\"80\"",
    }));
    app.SettingValues[7] = U"before";
    Start(app);
    EXPECT_EQ(form.Slider.Value.get(), 7);
    EXPECT_EQ(app.SettingValues[0], U"100");
    EXPECT_EQ(app.SettingValues[3], U"80");
    // A value that is not a string holds no text: the slot keeps its own.
    EXPECT_EQ(app.SettingValues[7], U"before");

    // Each value is saved in its place, under its own spelling, and no name twice.
    SaveSettings(app);
    EXPECT_EQ(SavedNames(),
              (std::vector<Text>{U"Program Values", U"Fixed width", U"Unknown", U"", U"Indent",
                                 U"Signature width", U"Top text like", U"Top text repeat",
                                 U"Bottom text like", U"Bottom text repeat", U"Left text like",
                                 U"Right text like", U"Signature File", U"Variable File",
                                 U"Fixed text File"}));
    EXPECT_EQ(SavedText(U"Fixed width"), U"100");
    EXPECT_EQ(SavedText(U"Indent"), U"1") << "the default for a value that was no text";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsStoreTest, ManyValuesAreReadInOneReadAndSavedInOneWrite) {
    constexpr int kOthers = 16000;
    Text content = WithValues({U"\"Program Values\"=\"" + Text(DefaultProgramValues) + U"\""});
    for (int i = 0; i < kOthers; ++i)
        content += Lines({U"\"Other " + ToText(i) + U"\"=\"" + Text(40, U'o') + U"\""});
    Put(content + Lines({U"\"Indent\"=\"3\""}));
    // Reading the file again for every value took minutes.
    const auto start = std::chrono::steady_clock::now();
    Start(app);
    EXPECT_EQ(app.SettingValues[7], U"3");
    SaveSettings(app);
    EXPECT_EQ(files.reads, 2);
    EXPECT_EQ(files.writes, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(Saved().size(), kOthers + 13u);
}

TEST_F(SettingsStoreTest, EverySaveButtonSavesAndTheFixedTextOnlyWhenItIsOn) {
    app.AppPath = U"/opt/velmo/";
    const Text fixedFile = U"/opt/velmo/Fixed.fxt";
    ReadSettings(app);
    CommandButton* const buttons[] = {&form.btnSaveSett, &form.btnSaveSett2, &form.cmdSave2,
                                      &form.cmdSave3, &form.cmdSave4};
    for (int on = 0; on < 2; ++on) {
        form.txtFixed.Text = U"Fixed line";  // typing turns the fixed part on
        form.chkFixed.Value = on;
        for (size_t i = 0; i < std::size(buttons); ++i) {
            files.files.erase(fixedFile);
            app.FixedTextFilePath = fixedFile;
            // A different indent for each button shows which save wrote it.
            const Text indent = ToText(static_cast<long long>(i));
            form.cmbSBSIndent.Text = indent;
            buttons[i]->Click();
            EXPECT_EQ(SavedText(U"Indent"), indent) << buttons[i]->Name;
            // With the fixed part off, its file is neither written nor named.
            EXPECT_EQ(files.files.count(fixedFile), static_cast<size_t>(on)) << buttons[i]->Name;
            EXPECT_EQ(SavedText(U"Fixed text File"), on ? fixedFile : U"") << buttons[i]->Name;
        }
    }
    EXPECT_NE(files.files[fixedFile].find("Fixed line"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsStoreTest, ACorruptFileFoundOnlyAtSavingIsKeptAsideAndSaid) {
    ReadSettings(app);
    files.files[testing::kTestSettingsFile] = "garbage";
    SaveSettings(app);
    EXPECT_EQ(files.files.at(testing::kTestSettingsFile + U".bad"), "garbage");
    EXPECT_EQ(SavedNames(), kNamesInOrder);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              U"ERROR # 1000 : The settings file " + testing::kTestSettingsFile +
                  U" is not a registry file; it was kept as " + testing::kTestSettingsFile +
                  U".bad\rThe options are saved in a new file.");
}

// The system's error numbers, told in another language.
class GermanErrors : public std::error_category {
  public:
    const char* name() const noexcept override { return "german"; }
    std::string message(int) const override { return "Datei oder Verzeichnis nicht gefunden"; }
    std::error_condition default_error_condition(int code) const noexcept override {
        return std::generic_category().default_error_condition(code);
    }
};

// A start and a save with the file in each state: the defaults are shown,
// failures are said once each, and a file that could not be read is left.
TEST(SettingsFileStateTest, StartAndSave) {
    static const GermanErrors german;
    const Text file = testing::kTestSettingsFile;
    const Text error = U"ERROR # 1001 : The settings file " + file + U" cannot be read: ";
    const Text leftAlone = U"\rThe default options are used, and nothing is written over the file.";
    const Text userOnly = Lines({U"REGEDIT4", U"", U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]"});
    const Text indent3 = WithValues({U"\"Indent\"=\"3\""});
    const std::error_code none;
    const struct {
        const char* what;
        std::optional<Text> content;
        std::error_code readError;
        std::error_code writeError;
        bool firstStart;
        std::vector<Text> messages;  // after the start, then after the save
        bool written;                // the save writes the thirteen values
    } rows[] = {
        {"no file", {}, none, none, true, {}, true},
        {"no file, said in German", {}, std::error_code(ENOENT, german), none, true, {}, true},
        {"permission denied",
         indent3,
         std::make_error_code(std::errc::permission_denied),
         none,
         false,
         {error + U"Permission denied" + leftAlone,
          error + U"Permission denied" + U"\rPlease exit and try again."},
         false},
        {"I/O error",
         indent3,
         std::make_error_code(std::errc::io_error),
         none,
         false,
         {error + U"Input/output error" + leftAlone,
          error + U"Input/output error\rPlease exit and try again."},
         false},
        {"corrupt",
         U"<settings>\r\n</settings>",
         none,
         none,
         false,
         {U"ERROR # 1000 : The settings file " + file +
          U" is not a registry file; it was kept as " + file +
          U".bad\rYour Account data is corrupt"},
         true},
        {"the user key only", userOnly, none, none, false, {}, true},
        {"a full disk",
         kKeys,
         none,
         std::make_error_code(std::errc::no_space_on_device),
         false,
         {U"ERROR # 5 : The settings file " + file +
          U" cannot be written: No space left on device\rPlease exit and try again."},
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        testing::TestApp t;
        if (row.content)
            t.files.files[file] = EncodeFileText(*row.content);
        if (row.readError)
            t.files.failReads[file] = row.readError;
        if (row.writeError)
            t.files.failWrites[file] = row.writeError;
        const std::map<Text, std::string> before = t.files.files;
        t.app.form.chkBorder.Value = 0;
        Start(t.app);
        EXPECT_EQ(t.app.firstStart, row.firstStart);
        EXPECT_EQ(t.app.form.chkBorder.Value.get(), 1) << "the defaults";
        EXPECT_TRUE(t.app.ProgramValues.empty());
        if (row.firstStart) {
            EXPECT_EQ(DecodeFileText(t.files.files[file]), kKeys) << "both keys, empty";
        }
        if (row.content == userOnly) {
            EXPECT_EQ(t.files.files, before) << "reading leaves the file alone";
        }
        if (row.content == U"<settings>\r\n</settings>") {
            EXPECT_EQ(t.files.files[file + U".bad"], before.at(file));
        }
        SaveSettings(t.app);
        std::vector<Text> shown;
        for (const testing::ShownMessage& m : t.messages.shown) {
            EXPECT_EQ(m.style, msgbox::OkOnly);
            EXPECT_TRUE(m.title.empty());
            shown.push_back(m.text);
        }
        EXPECT_EQ(shown, row.messages);
        if (!row.written) {
            EXPECT_EQ(t.files.files, before);
            continue;
        }
        const std::optional<RegDocument> doc =
            ParseRegDocument(DecodeFileText(t.files.files[file]));
        ASSERT_TRUE(doc);
        EXPECT_EQ(FormatRegDocument(*doc).substr(0, kKeys.size()), kKeys);
        EXPECT_EQ(doc->keys.back().values.size(), 13u);
    }
}

// A settings store whose answers and failures a test sets.
class ScriptedStore : public SettingsStorePort {
  public:
    bool KeyExists(const Text&) override { return keyExists; }
    bool CreateKey(const Text& keyPath) override {
        Fail("CreateKey");
        created.push_back(keyPath);
        return true;
    }
    std::optional<std::vector<StoredValue>> Values(const Text&) override {
        Fail("Values");
        if (!keyExists)
            return std::nullopt;
        return values;
    }
    std::optional<Text> QueryValue(const Text&, const Text& name) override {
        Fail("QueryValue");
        for (const StoredValue& v : values) {
            if (v.name == name)
                return v.text;
        }
        return std::nullopt;
    }
    bool SetValues(const Text&, const std::vector<StoredValue>& given) override {
        Fail("SetValues");
        written.push_back(given);
        return true;
    }

    bool keyExists = true;
    std::vector<StoredValue> values;
    std::map<std::string, int> failures;  // operation -> failure number
    std::vector<Text> created;
    std::vector<std::vector<StoredValue>> written;  // one entry per call

  private:
    void Fail(const std::string& operation) {
        if (const auto it = failures.find(operation); it != failures.end())
            throw StoreFailure(it->second, operation + " failed");
    }
};

struct ScriptedApp : testing::TestPlatform {
    ScriptedStore store;
    App app{Ports{messages, fileDialog, clipboard, clock, random, files, store, timer, instance,
                  icon, program, browser}};
};

// The failure's number, not its text, tells what it leaves behind.
TEST(SettingsStoreFailureTest, TheProceduresReportTheirFailuresAndReturn) {
    ScriptedApp t;
    t.store.failures = {{"CreateKey", -3}, {"QueryValue", 0}, {"SetValues", 5}};
    t.store.values = {{U"Indent", U"2"}};
    EXPECT_FALSE(CreateSettingsKey(t.app, U"Freeware\\"));
    EXPECT_EQ(QueryStringValue(t.app, Text(SettingsKey), U"Indent", U"Not Found"), U"");
    EXPECT_FALSE(SetStringValue(t.app, Text(SettingsKey), U"Indent", U"3"));
    const std::vector<Text> expected = {
        U"ERROR #-3 : CreateKey failed\rPlease exit and try again.",
        U"ERROR # 0 : QueryValue failed\rPlease exit and try again.",
        U"ERROR # 5 : SetValues failed\rPlease exit and try again."};
    ASSERT_EQ(t.messages.shown.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(t.messages.shown[i].text, expected[i]);

    ScriptedApp ok;
    ok.store.values = {{U"Indent", U"2"}};
    EXPECT_TRUE(CreateSettingsKey(ok.app, U"Freeware\\"));
    EXPECT_EQ(ok.store.created, std::vector<Text>{U"SOFTWARE\\Velmo\\User\\Freeware\\"});
    EXPECT_EQ(QueryStringValue(ok.app, Text(SettingsKey), U"Indent", U"Not Found"), U"2");
    EXPECT_EQ(QueryStringValue(ok.app, Text(SettingsKey), U"Width", U"Not Found"), U"Not Found");
    EXPECT_TRUE(SetStringValue(ok.app, Text(SettingsKey), U"Indent", U"3"));
    // A save is one call with the thirteen values: the store writes them at once.
    SaveSettings(ok.app);
    ASSERT_EQ(ok.store.written.size(), 2u);
    ASSERT_EQ(ok.store.written[1].size(), 13u);
    EXPECT_EQ(ok.store.written[1][12].name, kNamesInOrder[12]);
    EXPECT_TRUE(ok.messages.shown.empty());
}

TEST(SettingsStoreFailureTest, AFailureWhileReadingIsReportedAndSetsTheDefaults) {
    const struct {
        int number;
        Text consequence;
        bool keyCreated;
    } rows[] = {
        {7, U"Your Account data is corrupt", true},
        {StoreFailure::kCorrupt, U"Your Account data is corrupt", true},
        {StoreFailure::kUnreadable,
         U"The default options are used, and nothing is written over the file.", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        ScriptedApp t;
        t.store.values = {{U"Program Values", U" 8 1 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 3"}};
        t.store.failures = {{"Values", row.number}};
        t.app.form.chkBorder.Value = 0;
        ReadSettings(t.app);
        EXPECT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown.empty() ? Text() : t.messages.shown[0].text,
                  U"ERROR # " + ToText(row.number) + U" : Values failed\r" + row.consequence);
        EXPECT_EQ(t.app.form.chkBorder.Value.get(), 1) << "the defaults are set";
        EXPECT_TRUE(t.app.ProgramValues.empty());
        EXPECT_EQ(t.store.created.size(), row.keyCreated ? 1u : 0u);
    }
}

}  // namespace
}  // namespace velmo
