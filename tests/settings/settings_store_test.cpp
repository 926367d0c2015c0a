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

// The "ERROR #..." message, as the store procedures build it.
bool IsErrorMessage(const testing::ShownMessage& shown, TextView ending) {
    return shown.text.starts_with(U"ERROR #") && shown.text.find(U" : ") != Text::npos &&
           shown.text.ends_with(U"\r" + Text(ending)) && shown.style == msgbox::OkOnly &&
           shown.title.empty();
}

class SettingsStoreTest : public ::testing::Test, protected testing::TestApp {
  protected:
    MainForm& form = app.form;

    bool HasFile() const { return files.files.count(testing::kTestSettingsFile) != 0; }
    Text Content() const { return DecodeFileText(files.files.at(testing::kTestSettingsFile)); }
    void Put(const Text& content) {
        files.files[testing::kTestSettingsFile] = EncodeFileText(content);
    }
    Text Packed() const { return EncodeProgramValues(ProgramFlags(ReadOptions(app.form))); }

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

TEST_F(SettingsStoreTest, StoredNamesAreTheThirteenInSavingOrder) {
    ASSERT_EQ(StoredValueNames.size(), kNamesInOrder.size());
    for (size_t i = 0; i < kNamesInOrder.size(); ++i)
        EXPECT_EQ(StoredValueNames[i], kNamesInOrder[i]);
}

TEST_F(SettingsStoreTest, FirstStartCreatesBothKeysEmptyAndSetsTheDefaults) {
    ASSERT_EQ(form.chkFile.Value.get(), 1) << "the window starts otherwise than the defaults";
    ReadSettings(app);
    EXPECT_EQ(Content(), kKeys);
    EXPECT_TRUE(app.ProgramValues.empty());
    for (const Text& value : app.SettingValues)
        EXPECT_TRUE(value.empty());
    EXPECT_EQ(form.chkFile.Value.get(), 0);
    EXPECT_EQ(Packed(), DefaultProgramValues);
    EXPECT_EQ(form.txtTBLike.Text.get(), DefaultLikeBorder);
    EXPECT_TRUE(messages.shown.empty());

    // The next start finds the keys, still without values, and reads nothing.
    testing::TestApp next;
    next.files.files = files.files;
    Start(next.app);
    EXPECT_TRUE(next.app.ProgramValues.empty());
    EXPECT_EQ(next.files.files.at(testing::kTestSettingsFile),
              files.files.at(testing::kTestSettingsFile));
    EXPECT_EQ(next.files.writes, 0);
}

TEST_F(SettingsStoreTest, SaveAfterFirstStartWritesTheThirteenValuesInOrder) {
    ReadSettings(app);
    SaveSettings(app);
    const Text stars(DefaultLikeBorder);
    EXPECT_EQ(Content(), kKeys + Lines({
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
    EXPECT_EQ(SavedText(U"Program Values").size(), 40u);
    EXPECT_TRUE(app.ProgramValues.empty()) << "saving does not change the stored form read";
    EXPECT_TRUE(messages.shown.empty());

    // A later save rewrites the same thirteen in place, in one replace of the
    // file, so that a failure cannot leave some old values and some new.
    form.cmbWidth.Text = U"80";
    const int reads = files.reads;
    const int writes = files.writes;
    SaveSettings(app);
    EXPECT_EQ(files.reads - reads, 1);
    EXPECT_EQ(files.writes - writes, 1);
    EXPECT_EQ(SavedNames(), kNamesInOrder);
    EXPECT_EQ(SavedText(U"Signature width"), U"80");
}

TEST_F(SettingsStoreTest, SavedOptionsComeBackExactly) {
    ReadSettings(app);
    form.optHTML.Value = true;
    app.SignatureFilePath = U"/home/jörg/Signatur „neu“.htm";
    app.VariableFilePath = U"C:\\Users\\jörg\\quotes \"best\".txt";
    app.FixedTextFilePath = U"/opt/velmo/Fixed.fxt";
    testing::ChangeEveryOption(form, U"  bottom  ");
    const Text packed = Packed();
    ASSERT_EQ(packed, U" 7 1 1 0 1 1-1 0 1-1 0 0-1-1 0-1 0 0 0 2");
    SaveSettings(app);
    // In the program's own file text, which reads back byte for byte.
    const std::string& bytes = files.files.at(testing::kTestSettingsFile);
    EXPECT_EQ(EncodeFileText(DecodeFileText(bytes)), bytes);
    EXPECT_EQ(SavedText(U"Top text like"), U"  ~~ top — ~~  ") << "stored as it stands";

    testing::TestApp next;
    next.files.files = files.files;
    // Applying sets the repeat text, whose change handling selects "Repeat".
    Start(next.app);
    const MainForm& g = next.app.form;
    EXPECT_EQ(next.app.ProgramValues, packed);
    EXPECT_EQ(EncodeProgramValues(ProgramFlags(ReadOptions(next.app.form))), packed);
    EXPECT_TRUE(g.optTBLike.Value) << "a stored Like top border stays Like";
    EXPECT_FALSE(g.optTBRepeat.Value);
    EXPECT_EQ(g.cmbFixWidth.Text.get(), U"40");
    EXPECT_EQ(next.app.SettingValues[1], U"~~ top — ~~");
    EXPECT_EQ(g.txtTBLike.Text.get(), U"~~ top — ~~");
    EXPECT_EQ(g.txtTBRepeat.Text.get(), U"\"\\");
    EXPECT_EQ(g.cmbWidth.Text.get(), U"100");
    EXPECT_EQ(g.txtBBLike.Text.get(), U"  bottom  ");
    EXPECT_EQ(g.txtBBRepeat.Text.get(), U"=-");
    EXPECT_EQ(g.txtSBSLeftLike.Text.get(), U"<|");
    EXPECT_EQ(g.cmbSBSIndent.Text.get(), U"4");
    EXPECT_EQ(g.txtSBSRightLike.Text.get(), U"|>");
    EXPECT_EQ(next.app.SignatureFilePath, app.SignatureFilePath);
    EXPECT_EQ(next.app.VariableFilePath, app.VariableFilePath);
    EXPECT_EQ(next.app.FixedTextFilePath, U"/opt/velmo/Fixed.fxt");
    EXPECT_TRUE(next.messages.shown.empty());
}

// A settings key written by hand, after the two keys.
Text WithValues(std::initializer_list<Text> lines) {
    return kKeys + Lines(lines);
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
        U"\"top text like\"=\"   top   \"",
        U"\"Bottom text like\"=\"   bottom   \"",
    }));
    app.SettingValues[7] = U"before";
    Start(app);
    EXPECT_EQ(app.ProgramValues, U" 7 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1");
    EXPECT_EQ(form.Slider.Value.get(), 7);
    EXPECT_EQ(app.SettingValues[0], U"100");
    EXPECT_EQ(app.SettingValues[3], U"80");
    // A value that is not a string holds no text: the slot keeps its own.
    EXPECT_EQ(app.SettingValues[7], U"before");
    EXPECT_EQ(app.SettingValues[1], U"top");
    EXPECT_EQ(app.SettingValues[4], U"   bottom   ");
    EXPECT_TRUE(messages.shown.empty());

    // Each value is saved in its place, under its own spelling, and no name twice.
    SaveSettings(app);
    EXPECT_EQ(SavedNames(),
              (std::vector<Text>{U"Program Values", U"Fixed width", U"Unknown", U"", U"Indent",
                                 U"Signature width", U"Top text like", U"Bottom text like",
                                 U"Top text repeat", U"Bottom text repeat", U"Left text like",
                                 U"Right text like", U"Signature File", U"Variable File",
                                 U"Fixed text File"}));
    EXPECT_EQ(SavedText(U"Fixed width"), U"100");
    EXPECT_EQ(SavedText(U"Indent"), U"1") << "the default for a value that was no text";
}

TEST_F(SettingsStoreTest, TheExactSpellingWinsOverAnotherCase) {
    Put(WithValues({
        U"\"program values\"=\" 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\"",
        U"\"Program Values\"=\"" + Text(DefaultProgramValues) + U"\"",
        U"\"Program Values\"=\" 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\"",  // the first counts
    }));
    ReadSettings(app);
    EXPECT_EQ(app.ProgramValues, DefaultProgramValues);
}

TEST_F(SettingsStoreTest, LongValuesAreReadWholeAndTheRestAfterThem) {
    const Text longPath = U"/home/ann/" + Text(300, U'd') + U"/Signatur.txt";
    Put(WithValues({
        U"\"Program Values\"=\"" + Text(DefaultProgramValues) + U"\"",
        U"\"Signature File\"=\"" + longPath + U"\"",
        U"\"" + Text(255, U'n') + U"\"=\"x\"",
        U"\"Variable File\"=\"" + Text(255, U'v') + U"\"",
        U"\"Indent\"=\"3\"",
    }));
    Start(app);
    EXPECT_EQ(app.SignatureFilePath, longPath);
    EXPECT_EQ(app.VariableFilePath, Text(255, U'v'));
    EXPECT_EQ(form.cmbSBSIndent.Text.get(), U"3");
    EXPECT_TRUE(messages.shown.empty());

    SaveSettings(app);
    EXPECT_EQ(SavedText(U"Signature File"), longPath);
    EXPECT_EQ(SavedText(U"Variable File"), Text(255, U'v'));
}

TEST_F(SettingsStoreTest, ManyValuesAreReadInOneReadAndSavedInOneWrite) {
    constexpr int kOthers = 16000;
    Text content = kKeys + Lines({U"\"Program Values\"=\"" + Text(DefaultProgramValues) + U"\""});
    for (int i = 0; i < kOthers; ++i)
        content += Lines({U"\"Other " + ToText(i) + U"\"=\"" + Text(40, U'o') + U"\""});
    content += Lines({U"\"Indent\"=\"3\""});
    Put(content);

    // Reading the file again for every value took minutes.
    const auto start = std::chrono::steady_clock::now();
    Start(app);
    EXPECT_EQ(files.reads, 1);
    EXPECT_EQ(app.SettingValues[7], U"3");
    SaveSettings(app);
    EXPECT_EQ(files.reads, 2);
    EXPECT_EQ(files.writes, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(Saved().size(), kOthers + 13u);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsStoreTest, AFileWrittenOnWindowsReadsAsIs) {
    const Text crlf = Lines({
        U"REGEDIT4",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Freeware]",
        U"\"Program Values\"=\" 8 1 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 3\"",
        U"\"Signature File\"=\"C:\\\\Dokumente\\\\Jörg\\\\sig.rtf\"",
        U"\"Bottom text like\"=\" — \"",
    });
    Text lf = crlf;
    for (size_t p; (p = lf.find(CrLf)) != Text::npos;)
        lf.replace(p, 2, U"\n");

    for (const Text& content : {crlf, lf}) {
        testing::TestApp t;
        t.files.files[testing::kTestSettingsFile] = EncodeFileText(content);
        ReadSettings(t.app);
        EXPECT_EQ(t.app.ProgramValues, U" 8 1 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 3");
        EXPECT_EQ(t.app.SettingValues[9], U"C:\\Dokumente\\Jörg\\sig.rtf");
        EXPECT_EQ(t.app.SettingValues[4], U" — ");
        EXPECT_TRUE(t.messages.shown.empty());
    }
}

TEST_F(SettingsStoreTest, SavingKeepsEverythingElseInTheFile) {
    const Text before = Lines({
        U"REGEDIT4",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Other]",
        U"\"Count\"=dword:0000002a",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Velmo\\User]",
        U"\"Remark\"=\"kept\"",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Freeware]",
        U"\"Indent\"=\"3\"",
        U"\"Window\"=hex:01,02,\\",
        U"  03",
        U"\"Program Values\"=\" 1\"",
    });
    Put(before);
    Start(app);
    SaveSettings(app);
    const Text after = Content();
    EXPECT_TRUE(after.starts_with(Lines({
        U"REGEDIT4",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Other]",
        U"\"Count\"=dword:0000002a",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Velmo\\User]",
        U"\"Remark\"=\"kept\"",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Freeware]",
        U"\"Indent\"=\"1\"",
        U"\"Window\"=hex:01,02,\\",
        U"  03",
        U"\"Program Values\"=\"" + Text(DefaultProgramValues) + U"\"",
        U"\"Fixed width\"=\"60\"",
    }))) << ToUtf8(after);
    EXPECT_EQ(Saved().size(), 14u) << "no key or value is doubled";
}

TEST_F(SettingsStoreTest, WithTheFixedPartOffTheFixedTextFileIsSavedEmpty) {
    ReadSettings(app);
    app.FixedTextFilePath = U"/opt/velmo/Fixed.fxt";
    ASSERT_EQ(form.chkFixed.Value.get(), 0);
    SaveSettings(app);
    EXPECT_EQ(SavedText(U"Fixed text File"), U"");
    EXPECT_EQ(app.FixedTextFilePath, U"");

    app.FixedTextFilePath = U"/opt/velmo/Fixed.fxt";
    form.chkFixed.Value = 1;
    SaveSettings(app);
    EXPECT_EQ(SavedText(U"Fixed text File"), U"/opt/velmo/Fixed.fxt");
}

TEST_F(SettingsStoreTest, EverySaveButtonSavesAndWritesTheFixedTextOnlyWhenItIsOn) {
    app.AppPath = U"/opt/velmo/";
    const Text fixedFile = U"/opt/velmo/Fixed.fxt";
    ReadSettings(app);
    CommandButton* const buttons[] = {&form.btnSaveSett, &form.btnSaveSett2, &form.cmdSave2,
                                      &form.cmdSave3, &form.cmdSave4};
    for (int on = 0; on < 2; ++on) {
        if (on == 1) {
            form.txtFixed.Text = U"Fixed line";
            ASSERT_EQ(form.chkFixed.Value.get(), 1);
        }
        for (size_t i = 0; i < std::size(buttons); ++i) {
            files.files.erase(fixedFile);
            // A different indent for each button shows which save wrote it.
            const Text indent = ToText(static_cast<long long>(i));
            form.cmbSBSIndent.Text = indent;
            buttons[i]->Click();
            EXPECT_EQ(SavedNames(), kNamesInOrder) << buttons[i]->Name;
            EXPECT_EQ(SavedText(U"Indent"), indent) << buttons[i]->Name;
            EXPECT_EQ(files.files.count(fixedFile), static_cast<size_t>(on)) << buttons[i]->Name;
            if (on == 1) {
                EXPECT_NE(files.files[fixedFile].find("Fixed line"), std::string::npos);
            }
        }
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsStoreTest, AUserKeyWithoutTheSettingsKeyShowsDefaultsAndASaveCreatesIt) {
    const Text userOnly = Lines({U"REGEDIT4", U"", U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]"});
    Put(userOnly);
    form.chkBorder.Value = 0;
    Start(app);
    EXPECT_TRUE(app.ProgramValues.empty());
    EXPECT_EQ(form.chkBorder.Value.get(), 1);
    EXPECT_EQ(Packed(), DefaultProgramValues);
    EXPECT_EQ(Content(), userOnly) << "reading leaves the file alone";

    SaveSettings(app);
    EXPECT_EQ(program.exits, 0);
    EXPECT_TRUE(Content().starts_with(kKeys));
    EXPECT_EQ(SavedNames(), kNamesInOrder);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsStoreTest, AFailingWriteIsReportedOnceAndLeavesTheFile) {
    ReadSettings(app);
    const std::string before = files.files.at(testing::kTestSettingsFile);
    files.failWrites[testing::kTestSettingsFile] =
        std::make_error_code(std::errc::no_space_on_device);
    SaveSettings(app);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(IsErrorMessage(messages.shown[0], U"Please exit and try again."))
        << ToUtf8(messages.shown[0].text);
    EXPECT_NE(messages.shown[0].text.find(U"No space left on device"), Text::npos);
    EXPECT_EQ(files.files.at(testing::kTestSettingsFile), before);
    EXPECT_EQ(program.exits, 0);
}

TEST_F(SettingsStoreTest, AFailingFirstWriteIsReportedOnceToo) {
    files.failWrites[testing::kTestSettingsFile] =
        std::make_error_code(std::errc::permission_denied);
    ReadSettings(app);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(IsErrorMessage(messages.shown[0], U"Please exit and try again."));
    EXPECT_EQ(Packed(), DefaultProgramValues) << "the defaults are set all the same";

    SaveSettings(app);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_FALSE(HasFile());
}

TEST_F(SettingsStoreTest, ACorruptFileGivesTheMessageAndDefaultsAndIsKeptAside) {
    const std::string garbage = "<settings>\r\n  <indent>3</indent>\r\n</settings>\r\n";
    files.files[testing::kTestSettingsFile] = garbage;
    const Text bad = testing::kTestSettingsFile + U".bad";
    files.files[bad] = "kept the time before";
    form.chkBorder.Value = 0;
    ReadSettings(app);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, U"ERROR # 1000 : The settings file " +
                                          testing::kTestSettingsFile +
                                          U" is not a registry file; it was kept as " + bad +
                                          U".1\rYour Account data is corrupt");
    EXPECT_EQ(form.chkBorder.Value.get(), 1) << "the defaults are set";
    EXPECT_EQ(Packed(), DefaultProgramValues);
    EXPECT_TRUE(app.ProgramValues.empty());
    EXPECT_EQ(files.files.at(bad), "kept the time before");
    EXPECT_EQ(files.files.at(bad + U".1"), garbage);

    SaveSettings(app);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(Content().starts_with(kKeys));
    EXPECT_EQ(SavedNames(), kNamesInOrder);
    EXPECT_EQ(files.files.at(bad + U".1"), garbage);
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

TEST(SettingsFileReadTest, AMissingFileIsAFirstStartAndAnUnreadableOneIsLeftAlone) {
    static const GermanErrors german;
    const Text cannotRead =
        U"ERROR # 1001 : The settings file " + testing::kTestSettingsFile + U" cannot be read: ";
    const Text leftAlone = U"\rThe default options are used, and nothing is written over the file.";
    const struct {
        const char* what;
        std::error_code error;
        Text message;  // none for a first start
    } rows[] = {
        {"no file", std::make_error_code(std::errc::no_such_file_or_directory), U""},
        {"no file, said in German", std::error_code(ENOENT, german), U""},
        {"permission denied", std::make_error_code(std::errc::permission_denied),
         cannotRead + U"Permission denied" + leftAlone},
        {"I/O error", std::make_error_code(std::errc::io_error),
         cannotRead + U"Input/output error" + leftAlone},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        testing::TestApp t;
        const bool firstStart = row.message.empty();
        if (!firstStart)
            t.files.files[testing::kTestSettingsFile] = ToUtf8(WithValues({U"\"Indent\"=\"3\""}));
        const std::map<Text, std::string> before = t.files.files;
        t.files.failReads[testing::kTestSettingsFile] = row.error;
        t.app.form.chkBorder.Value = 0;
        Start(t.app);
        EXPECT_EQ(t.app.firstStart, firstStart);
        EXPECT_EQ(t.app.form.chkBorder.Value.get(), 1) << "the defaults";
        if (firstStart) {
            EXPECT_TRUE(t.messages.shown.empty());
            EXPECT_EQ(DecodeFileText(t.files.files[testing::kTestSettingsFile]), kKeys);
            continue;
        }
        EXPECT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown.empty() ? Text() : t.messages.shown[0].text, row.message);
        // Saving, too, leaves the file that could not be read as it is.
        SaveSettings(t.app);
        EXPECT_EQ(t.messages.shown.size(), 2u);
        EXPECT_EQ(t.files.files, before);
        EXPECT_EQ(t.files.writes, 0);
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

TEST(SettingsStoreFailureTest, TheProceduresReportTheirFailuresAndReturn) {
    ScriptedApp t;
    t.store.failures = {{"CreateKey", -3}, {"QueryValue", 0}, {"SetValues", 5}};
    t.store.values = {{U"Indent", U"2"}};
    EXPECT_FALSE(CreateSettingsKey(t.app, U"Freeware\\"));
    EXPECT_EQ(QueryStringValue(t.app, Text(SettingsKey), U"Indent", U"Not Found"), U"");
    EXPECT_FALSE(SetStringValue(t.app, Text(SettingsKey), U"Indent", U"3"));
    ASSERT_EQ(t.messages.shown.size(), 3u);
    EXPECT_EQ(t.messages.shown[0].text,
              U"ERROR #-3 : CreateKey failed\rPlease exit and try again.");
    EXPECT_EQ(t.messages.shown[1].text,
              U"ERROR # 0 : QueryValue failed\rPlease exit and try again.");
    EXPECT_EQ(t.messages.shown[2].text,
              U"ERROR # 5 : SetValues failed\rPlease exit and try again.");
    for (const testing::ShownMessage& shown : t.messages.shown) {
        EXPECT_EQ(shown.style, msgbox::OkOnly);
        EXPECT_TRUE(shown.title.empty());
    }
}

TEST(SettingsStoreFailureTest, TheProceduresPassOnOrdinaryOutcomes) {
    ScriptedApp t;
    t.store.values = {{U"Indent", U"2"}};
    EXPECT_TRUE(CreateSettingsKey(t.app, U"Freeware\\"));
    EXPECT_EQ(t.store.created, std::vector<Text>{U"SOFTWARE\\Velmo\\User\\Freeware\\"});
    EXPECT_EQ(QueryStringValue(t.app, Text(SettingsKey), U"Indent", U"Not Found"), U"2");
    EXPECT_EQ(QueryStringValue(t.app, Text(SettingsKey), U"Width", U"Not Found"), U"Not Found");
    EXPECT_TRUE(SetStringValue(t.app, Text(SettingsKey), U"Indent", U"3"));
    EXPECT_TRUE(t.messages.shown.empty());
}

// The failure's number, not its text, tells what the reading leaves behind.
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

TEST(SettingsStoreFailureTest, ASaveWritesTheThirteenValuesInOneCall) {
    ScriptedApp t;
    t.store.keyExists = false;
    SaveSettings(t.app);
    ASSERT_EQ(t.store.written.size(), 1u);
    ASSERT_EQ(t.store.written[0].size(), 13u);
    for (size_t i = 0; i < 13; ++i)
        EXPECT_EQ(t.store.written[0][i].name, kNamesInOrder[i]);
    EXPECT_TRUE(t.messages.shown.empty());
}

}  // namespace
}  // namespace velmo
