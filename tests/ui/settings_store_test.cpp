#include "ui/settings.h"

#include <gtest/gtest.h>

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

// What a save with the default options writes after the keys.
const Text kDefaultValues = Lines({
    U"\"Program Values\"=\"" + Text(DefaultProgramValues) + U"\"",
    U"\"Fixed width\"=\"60\"",
    U"\"Top text like\"=\"" + Text(DefaultLikeBorder) + U"\"",
    U"\"Top text repeat\"=\"*\"",
    U"\"Signature width\"=\"60\"",
    U"\"Bottom text like\"=\"" + Text(DefaultLikeBorder) + U"\"",
    U"\"Bottom text repeat\"=\"*\"",
    U"\"Left text like\"=\"*\"",
    U"\"Indent\"=\"1\"",
    U"\"Right text like\"=\"*\"",
    U"\"Signature File\"=\"\"",
    U"\"Variable File\"=\"\"",
    U"\"Fixed text File\"=\"\"",
    U"\"No Repeats\"=\"0\"",
});

class SettingsStoreTest : public ::testing::Test, protected testing::TestApp {
  protected:
    MainForm& form = app.form;

    // The values of the settings key in the file, in file order.
    std::vector<StoredValue> Saved() { return *settings.Values(Text(SettingsKey)).value(); }
    Text SavedText(TextView name) {
        for (const StoredValue& value : Saved()) {
            if (value.name == name)
                return value.text;
        }
        ADD_FAILURE() << "no value " << ToUtf8(name);
        return {};
    }
};

// Shown on the window and read back, the options are the same: every option
// maps to its control and back, whatever the window showed before.
TEST_F(SettingsStoreTest, ShownOptionsReadBackTheSame) {
    testing::ChangeEveryOption(form, U" b ");
    form.optRTF.Value = true;
    const SignatureOptions changed = ReadOptions(form);
    SignatureOptions greyed = changed;
    greyed.toClipboard = greyed.fixedPart = greyed.rightSameAsLeft = Check::Greyed;
    greyed.top = TopBorder::Repeat;
    greyed.bottom = BottomBorder::Like;
    greyed.separator = PartSeparator::SameAsTop;
    greyed.output = OutputForm::Html;
    const SignatureOptions unchosen{.bottom = BottomBorder::Repeat,
                                    .rightLikeChosen = true,
                                    .separator = PartSeparator::Unchosen};
    for (const SignatureOptions& options : {SignatureOptions{}, changed, greyed, unchosen, {}}) {
        ShowOptions(form, options);
        EXPECT_EQ(ReadOptions(form), options);
        EXPECT_EQ(form.optText.Value + form.optHTML.Value + form.optRTF.Value, 1);
    }
}

TEST_F(SettingsStoreTest, EverySaveButtonSavesAndTheFixedTextOnlyWhenItIsOn) {
    app.session.dataFolder = U"/opt/velmo/";
    const Text fixedFile = U"/opt/velmo/Fixed.fxt";
    ReadSettings(app);
    testing::ChangeEveryOption(form, U"b");
    CommandButton* const buttons[] = {
        &form.cmdSaveSettingsFixed,   &form.cmdSaveSettingsVariable,
        &form.cmdSaveSettingsBorders, &form.cmdSaveSettingsSideBorders,
        &form.cmdSaveSettingsOptions, &form.cmdSaveSettingsFixed};
    for (size_t i = 0; i < std::size(buttons); ++i) {
        SCOPED_TRACE(buttons[i]->Name);
        const int on = static_cast<int>(i % 2);
        form.txtFixedText.Text = U"Fixed line " + ToText(static_cast<long long>(i));  // turns it on
        form.chkFixedPart.Value = static_cast<Check>(on);
        files.files.erase(fixedFile);
        app.session.fixedTextPath = fixedFile;
        // A different indent for each button shows which save wrote it.
        form.cmbIndent.Text = ToText(static_cast<long long>(i % 5));
        form.chkNoRepeats.Value = i % 2 == 0 ? Check::On : Check::Off;
        buttons[i]->Click();
        EXPECT_EQ(SavedText(U"Indent"), ToText(static_cast<long long>(i % 5)));
        EXPECT_EQ(SavedText(U"No Repeats"), i % 2 == 0 ? U"1" : U"0");
        // With the fixed part off, its file is neither written nor named.
        EXPECT_EQ(files.files.count(fixedFile), static_cast<size_t>(on));
        EXPECT_EQ(SavedText(U"Fixed text File"), on ? fixedFile : U"");
    }
    EXPECT_EQ(SavedText(U"Top text like"), U"  ~~ top — ~~  ") << "stored as it stands";
    EXPECT_EQ(Saved().size(), 14u) << "each save rewrites the same values";
    EXPECT_NE(files.files[fixedFile].find("Fixed line 5"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
}

// A "Program Values" with more after its 40 characters is read; one that cannot be read leaves
// the defaults, and the user is told once which value that was.
TEST(ProgramValuesTest, ReadAsFarAsTheyGoOrSaidToBeUnusable) {
    const Text stored = EncodeProgramValues(ProgramFlags({.toFile = Check::On}));
    const std::pair<Text, bool> rows[] = {
        {stored + U" ", true}, {stored.substr(0, 39), false}, {U"x" + stored.substr(1), false}};
    for (const auto& [packed, read] : rows) {
        SCOPED_TRACE(ToUtf8(packed));
        testing::TestApp t;
        ASSERT_TRUE(t.settings.CreateKey(Text(UserKey)).value_or(false));
        ASSERT_TRUE(
            t.settings.SetValues(Text(SettingsKey), {{U"Program Values", packed}}).value_or(false));
        ApplyOptions(t.app, ReadSettings(t.app).value());
        EXPECT_EQ(t.app.form.chkSignatureFile.Value.get(), read ? Check::On : Check::Off);
        ASSERT_EQ(t.messages.shown.size(), read ? 0u : 1u);
        if (!read) {
            EXPECT_NE(t.messages.shown[0].text.find(U"\"Program Values\""), Text::npos);
        }
    }
}

// A start and a save with the file in each state: failures are said once
// each, a file that could not be read is left, and one that is not a
// registry file is kept aside.
TEST(SettingsFileStateTest, StartAndSave) {
    const Text file = testing::kTestSettingsFile;
    const Text error = U"ERROR # ";
    const Text again = U"\rPlease exit and try again.";
    const Text denied =
        error + U"1001 : The settings file " + file + U" cannot be read: Permission denied";
    const Text defaults = U"\rThe default options are used, and nothing is written over the file.";
    const Text full = error + U"5 : The settings file " + file +
                      U" cannot be written: No space left on device" + again;
    const Text corrupt = error + U"1000 : The settings file " + file +
                         U" is not a registry file; it was kept as " + file +
                         U".bad\rYour Account data is corrupt";
    const Text garbage = U"<settings>\r\n</settings>";
    const Text userOnly = Lines({U"REGEDIT4", U"", U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]"});
    const std::error_code none;
    const std::error_code nospace = std::make_error_code(std::errc::no_space_on_device);
    const std::error_code eacces = std::make_error_code(std::errc::permission_denied);
    const struct {
        const char* what;
        std::optional<Text> content;
        std::error_code readError, writeError;
        std::vector<Text> messages;  // after the start, then after the save
        bool written;                // the save writes the default values
    } rows[] = {
        {"no file", {}, none, none, {}, true},
        {"permission denied", kKeys, eacces, none, {denied + defaults, denied + again}, false},
        {"corrupt", garbage, none, none, {corrupt}, true},
        {"the user key only", userOnly, none, none, {}, true},
        {"a full disk", kKeys, none, nospace, {full}, false},
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
        ReadSettings(t.app);  // no options stored: start-up shows the defaults
        SetDefaults(t.app);
        EXPECT_EQ(t.app.firstStart, !row.content);
        if (row.content == garbage)
            EXPECT_EQ(t.files.files[file + U".bad"], before.at(file));
        else if (row.content)
            EXPECT_EQ(t.files.files, before) << "reading leaves the file alone";
        else
            EXPECT_EQ(DecodeFileText(t.files.files[file]), kKeys) << "both keys, empty";
        EXPECT_LE(t.files.reads, 3) << "a few reads a start, not one a value";
        SaveSettings(t.app);
        std::vector<Text> shown;
        for (const testing::ShownMessage& m : t.messages.shown)
            shown.push_back(m.text);
        EXPECT_EQ(shown, row.messages);
        if (row.written)
            EXPECT_EQ(DecodeFileText(t.files.files[file]), kKeys + kDefaultValues);
        else
            EXPECT_EQ(t.files.files, before);
    }
}

// A failed save is said with the failure's number, a blank in the place of
// its sign when it is not negative. A store found corrupt is kept aside and
// the values go into a new one, once.
TEST(SettingsFailureTest, AFailedSaveIsSaidAndACorruptStoreWrittenAfresh) {
    struct FailingStore : RegFileStore {
        using RegFileStore::RegFileStore;
        StoreResult<bool> SetValues(const Text& key,
                                    const std::vector<StoredValue>& values) override {
            if (failures-- > 0)
                return StoreFailure{number, "lost"};
            return RegFileStore::SetValues(key, values);
        }
        int number = 0, failures = 0;
    };
    const Text again = U"\rPlease exit and try again.";
    const Text afresh = U"ERROR # 1000 : lost\rThe options are saved in a new file.";
    // The failure's number, how many writes fail, the message each is said in.
    const std::tuple<int, int, Text> rows[] = {
        {0, 1, U"ERROR # 0 : lost" + again},
        {-2, 1, U"ERROR #-2 : lost" + again},
        {StoreFailure::kCorrupt, 1, afresh},
        {StoreFailure::kCorrupt, 2, afresh},
    };
    for (const auto& [number, failures, message] : rows) {
        SCOPED_TRACE(number + failures);
        testing::TestPlatform platform;
        FailingStore store(platform.files, testing::kTestSettingsFile);
        store.number = number;
        store.failures = failures;
        App app{platform.ports(store)};
        const bool saved = number == StoreFailure::kCorrupt && failures == 1;
        SetStringValues(app, Text(SettingsKey), {{U"Indent", U"2"}});
        EXPECT_EQ(platform.files.writes, saved ? 1 : 0);
        ASSERT_EQ(platform.messages.shown.size(), static_cast<size_t>(failures));
        for (const testing::ShownMessage& m : platform.messages.shown)
            EXPECT_EQ(m.text, message);
    }
}

}  // namespace
}  // namespace velmo
