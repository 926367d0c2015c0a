#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/entry_editor.h"
#include "ui/options.h"
#include "ui/quote_list_file.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;

const Text kFolder = U"/opt/velmo/";
const Text kListFile = U"/opt/velmo/Variable.txt";
const Text kFortunes = U"/usr/share/games/fortunes/fortunes";

class ImportQuotationsTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.session.dataFolder = kFolder;
        SetDefaults(app);
    }

    // A list of `count` entries "quote N", read as at start-up.
    void Start(int count) {
        std::string lines;
        for (int i = 1; i <= count; ++i)
            lines += "\"quote " + std::to_string(i) + "\"\r\n";
        files.files[kListFile] = lines;
        LoadQuoteList(app);
        app.started = true;
    }

    // Imports the fortune file of `count` fortunes "fortune N" with the answer
    // to the save question.
    void Import(int count, Answer save = Answer::No) {
        std::string fortunes;
        for (int i = 1; i <= count; ++i)
            fortunes += "fortune " + std::to_string(i) + "\nby someone\n%\n";
        files.files[kFortunes] = fortunes;
        fileDialog.results = {kFortunes};
        messages.shown.clear();
        messages.answers = {Answer::Ok, save};
        app.form.cmdImportQuotations.Click();
    }

    QuoteList& list = app.session.quoteList;
};

// The quotations go after the entries up to the 200th; the rest are counted
// in the report, and the list file stays as it was until the user says Yes.
TEST_F(ImportQuotationsTest, UpToTheLimitTheRestCounted) {
    const struct {
        int entries, fortunes, added, rest;
    } rows[] = {{3, 2, 2, 0}, {195, 5, 5, 0}, {195, 8, 5, 3}, {0, 10000, 200, 9800}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.entries) + " + " + std::to_string(row.fortunes));
        Start(row.entries);
        const std::string file = files.files[kListFile];
        const int writes = files.writes;
        Import(row.fortunes);
        EXPECT_EQ(list.EntryCount, row.entries + row.added);
        EXPECT_EQ(list.At(row.entries + 1), U"fortune 1\r\nby someone");
        EXPECT_EQ(list.At(row.entries + row.added),
                  U"fortune " + ToText(row.added) + U"\r\nby someone");
        EXPECT_EQ(app.form.txtEntry.Text.get(), U"fortune 1\r\nby someone");
        ASSERT_EQ(messages.shown.size(), 2u);  // the report, then the save question
        const Text& report = messages.shown[0].text;
        EXPECT_NE(report.find(ToText(row.added) + U" quotation"), Text::npos) << ToUtf8(report);
        EXPECT_EQ(report.find(U"the other " + ToText(row.rest) + U" quotations were not added") !=
                      Text::npos,
                  row.rest > 0)
            << ToUtf8(report);
        EXPECT_EQ(messages.shown[1].text, U"Do you want to Save Variable Text you just entered ?");
        EXPECT_EQ(files.files[kListFile], file);
        EXPECT_EQ(files.writes, writes);
    }
    EXPECT_EQ(fileDialog.calls.back().title, U"Import Quotations");
}

// Yes writes the list with the quotations after the entries.
TEST_F(ImportQuotationsTest, YesSavesTheList) {
    Start(1);
    Import(2, Answer::Yes);
    EXPECT_EQ(files.files[kListFile],
              NativeFileBytes("\"quote 1\"\r\n\"fortune 1\r\nby someone\"\r\n"
                              "\"fortune 2\r\nby someone\"\r\n"));
    EXPECT_EQ(files.files[kFortunes], "fortune 1\nby someone\n%\nfortune 2\nby someone\n%\n");
}

// A full list, a file without quotations, an unreadable file and a cancelled
// dialog add nothing and ask nothing.
TEST_F(ImportQuotationsTest, NothingAdded) {
    Start(200);
    Import(4);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(U"none of the 4 quotations"), Text::npos);
    EXPECT_EQ(list.EntryCount, 200);

    Start(3);
    Import(0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(U"holds no quotations"), Text::npos);

    fileDialog.results = {U"/nowhere/file"};
    messages.shown.clear();
    app.form.cmdImportQuotations.Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(U"Unable to read"), Text::npos);

    fileDialog.results.clear();
    messages.shown.clear();
    app.form.cmdImportQuotations.Click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(list.EntryCount, 3);
}

}  // namespace
}  // namespace velmo
