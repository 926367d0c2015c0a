#include "ui/output_selection.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fakes.h"
#include "support/text_helpers.h"
#include "ui/app.h"
#include "ui/signature_file.h"

namespace velmo {
namespace {

using testing::Lines;

// The filters spelled out here rather than taken from the code, so that a
// typo in either shows.
const Text kTextFilter =
    U"Text Files (*.txt)|*.txt|Pegasus Mail (*.pms)|*.pms|All Files (*.*)|*.*|";
const Text kHtmlFilter = U"HTML Files (*.htm)|*.htm|";
const Text kRichTextFilter = U"Rich Text (*.rtf)|*.rtf|";
const Text kAllFilter = U"All Files (*.*)|*.*|";
const Text kHtmlTypeFilter = U"HTML Files (*.htm)|*.htm|All Files (*.*)|*.*|";
const Text kRichTextTypeFilter = U"Rich Text Files (*.rtf)|*.rtf|All Files (*.*)|*.*|";
const Text kTextTypeFilter =
    U"Text Files (*.txt)|*.txt|Pegasus Files (Inetsig*.pms)|Inetsig*.pms|All Files (*.*)|*.*|";
const Text kRecoveryFilter =
    U"All Files (*.*)|*.*|Text (*.txt)|*.txt|Pegasus (*.pms)|*.pms|HTML (*.htm)|*.htm|"
    U"Rich Text (*.rtf)|*.rtf|";
const Text kDocuments = testing::Folder(U"home/test/Documents");

class OutputSelectionTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.AppPath = U"/opt/velmo/";
        app.SignatureText = Lines({U"ab"});
        form.chkFile.Value = 0;
        form.txtSigFile.Text = U"shown before";
    }

    // Makes a type current with no file chosen; the dialog that the change
    // opens is cancelled and forgotten.
    void StartWithType(OptionButton& type) {
        app.SignatureFilePath.clear();
        type.Value = true;
        fileDialog.calls.clear();
    }

    // A file that exists, so that the check after a choice asks for nothing.
    void Existing(const Text& path) { files.files[path] = "old"; }

    MainForm& form = app.form;
};

// cmdSigFile

TEST_F(OutputSelectionTest, SignatureFileButtonFilterFollowsTheCurrentExtension) {
    const struct {
        const char32_t* path;
        const Text& filter;
        const Text& initial;
    } cases[] = {
        {U"/home/user/sig.txt", kTextFilter, U"/home/user/sig.txt"},
        {U"/home/user/sig.htm", kHtmlFilter, U"/home/user/sig.htm"},
        {U"/home/user/sig.rtf", kRichTextFilter, U"/home/user/sig.rtf"},
        {U"/home/user/pmail/Inetsig.pms", kAllFilter, U"/home/user/pmail/Inetsig.pms"},
        // The extension test is case-sensitive.
        {U"/home/user/SIG.TXT", kAllFilter, U"/home/user/SIG.TXT"},
        {U"/home/user/sig.html", kAllFilter, U"/home/user/sig.html"},
        {U"/home/user/sig", kAllFilter, U"/home/user/sig"},
        // A name of no known folder, or one of Velmo's own files, is not offered.
        {U"xt", kAllFilter, kDocuments},
        {U"/opt/velmo/Variable.txt", kTextFilter, kDocuments},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        fileDialog.calls.clear();
        app.SignatureFilePath = c.path;
        form.cmdSigFile.Click();  // cancelled
        ASSERT_EQ(fileDialog.calls.size(), 1u);
        EXPECT_EQ(fileDialog.calls[0].initial, c.initial);
        EXPECT_EQ(fileDialog.calls[0].filter, c.filter);
        EXPECT_EQ(fileDialog.calls[0].title, U"Find The Signature File...");
    }
}

TEST_F(OutputSelectionTest, SignatureFileButtonWithoutAFileStartsInTheDocumentsFolder) {
    const struct {
        OptionButton& type;
        const Text& filter;
    } cases[] = {
        {form.optHTML, kHtmlFilter},
        {form.optRTF, kRichTextFilter},
        {form.optText, kTextFilter},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type.Name);
        StartWithType(c.type);
        form.cmdSigFile.Click();
        ASSERT_EQ(fileDialog.calls.size(), 1u);
        EXPECT_EQ(fileDialog.calls[0].initial, kDocuments);
        EXPECT_EQ(fileDialog.calls[0].filter, c.filter);
    }
}

TEST_F(OutputSelectionTest, PickedFileIsStoredShownAndSwitchesFileOutputOn) {
    StartWithType(form.optHTML);
    Existing(U"/home/user/sig.txt");
    fileDialog.results.push_back(U"/home/user/sig.txt");
    form.cmdSigFile.Click();
    EXPECT_EQ(app.SignatureFilePath, U"/home/user/sig.txt");
    EXPECT_EQ(form.chkFile.Value.get(), 1);
    EXPECT_EQ(form.txtSigFile.Text.get(), U"/home/user/sig.txt");
    // The readable file needs no recovery, and the type stays as it was.
    EXPECT_EQ(fileDialog.calls.size(), 1u);
    EXPECT_TRUE(form.optHTML.Value);
    EXPECT_FALSE(form.optText.Value);
    EXPECT_EQ(files.files[U"/home/user/sig.txt"], "old");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OutputSelectionTest, PickedLongPathIsShownShortened) {
    const bool windows = NativePathStyle() == PathStyle::Windows;
    const Text path =
        windows ? U"C:\\Documents and Settings\\Someone\\Application Data\\Mail Client\\sig.txt"
                : U"/Documents and Settings/Someone/Application Data/Mail Client/sig.txt";
    Existing(path);
    fileDialog.results.push_back(path);
    form.cmdSigFile.Click();
    EXPECT_EQ(app.SignatureFilePath, path);
    EXPECT_EQ(form.txtSigFile.Text.get(),
              windows ? U"C:\\...\\Someone\\Application Data\\Mail Client\\sig.txt"
                      : U"/.../Someone/Application Data/Mail Client/sig.txt");
}

// One dialog is enough: a new name is made a file at once, and a relative
// one is taken in the folder the dialog showed, never in the current folder.
TEST_F(OutputSelectionTest, ANewNameIsCreatedInTheFolderShown) {
    const struct {
        const char* what;
        Text before;
        Text answer;
        Text created;
    } rows[] = {
        {"full path", U"/home/user/old.txt", U"/home/user/new.txt", U"/home/user/new.txt"},
        {"name beside the file in use", U"/home/user/old.txt", U"new.txt", U"/home/user/new.txt"},
        {"name, no file yet", Text(), U"new.txt", kDocuments + U"new.txt"},
        {"relative path", Text(), U"mail/new.txt", kDocuments + U"mail/new.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        files.files.clear();
        if (!row.before.empty())
            Existing(row.before);
        fileDialog.calls.clear();
        fileDialog.results = {row.answer};
        app.SignatureFilePath = row.before;
        form.cmdSigFile.Click();
        EXPECT_EQ(fileDialog.calls.size(), 1u);
        EXPECT_EQ(app.SignatureFilePath, row.created);
        EXPECT_EQ(files.files.count(row.created), 1u);
        EXPECT_EQ(files.files.size(), row.before.empty() ? 1u : 2u);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(OutputSelectionTest, AFileThatCannotBeMadeLeadsToTheRecoveryDialog) {
    form.optRTF.Value = true;  // cancelled: no file before, none after
    fileDialog.calls.clear();
    files.failWrites[U"/home/user/gone.rtf"] = std::make_error_code(std::errc::permission_denied);
    fileDialog.results.push_back(U"/home/user/gone.rtf");
    fileDialog.results.push_back(U"/home/user/found.rtf");
    form.cmdSigFile.Click();
    ASSERT_EQ(fileDialog.calls.size(), 2u);
    EXPECT_EQ(fileDialog.calls[1].initial, U"/home/user/AnySignatureFile.txt");
    EXPECT_EQ(fileDialog.calls[1].filter, kRecoveryFilter);
    EXPECT_EQ(app.SignatureFilePath, U"/home/user/found.rtf");
    EXPECT_EQ(form.txtSigFile.Text.get(), U"/home/user/found.rtf");
    EXPECT_EQ(form.chkFile.Value.get(), 1);
    // The recovered file is written at once, in the current form.
    ASSERT_EQ(files.files.count(U"/home/user/found.rtf"), 1u);
    EXPECT_EQ(files.files[U"/home/user/found.rtf"].substr(0, 6), "{\\rtf1");
    EXPECT_EQ(files.files.size(), 1u);
    // Why the chosen one was not made.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(U"/home/user/gone.rtf"), Text::npos);
}

TEST_F(OutputSelectionTest, CancelledRecoveryKeepsThePickedPath) {
    files.failWrites[U"/home/user/new.txt"] = std::make_error_code(std::errc::permission_denied);
    fileDialog.results.push_back(U"/home/user/new.txt");
    form.cmdSigFile.Click();
    EXPECT_EQ(fileDialog.calls.size(), 2u);
    EXPECT_EQ(app.SignatureFilePath, U"/home/user/new.txt");
    EXPECT_EQ(form.txtSigFile.Text.get(), U"/home/user/new.txt");
    EXPECT_EQ(files.writes, 0);
}

TEST_F(OutputSelectionTest, CancelledSignatureFileDialogChangesNothing) {
    for (const Text& before : {Text(U"/home/user/sig.txt"), Text()}) {
        SCOPED_TRACE(ToUtf8(before));
        fileDialog.calls.clear();
        app.SignatureFilePath = before;
        form.cmdSigFile.Click();
        // A dialog that closes with no name counts as cancelled too.
        fileDialog.results.push_back(Text());
        form.cmdSigFile.Click();
        EXPECT_EQ(fileDialog.calls.size(), 2u);  // no recovery dialog follows
        EXPECT_EQ(app.SignatureFilePath, before);
        EXPECT_EQ(form.chkFile.Value.get(), 0);
        EXPECT_EQ(form.txtSigFile.Text.get(), U"shown before");
    }
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(messages.shown.empty());
}

// However it is reached, a file of Velmo's own is refused with a message and
// the file in use stays; nothing is written.
TEST_F(OutputSelectionTest, VelmosOwnFilesAreRefusedAsTheSignatureFile) {
    const Text own[] = {
        U"/opt/velmo/Variable.txt",  // the text filter shows it in the program folder
        U"/home/user/quotes.txt",    // the quote list in use
        U"/opt/velmo/Fixed.fxt",     // not there yet
        U"/home/test/.config/Velmo/User.reg",
        testing::Rooted(U"opt/velmo/velmo"),
        U"/home/user/link.txt",  // a link to the quote list
    };
    enum Way { Button, TypeChange, Recovery };
    for (const Text& path : own) {
        for (Way way : {Button, TypeChange, Recovery}) {
            SCOPED_TRACE(ToUtf8(path) + " way " + std::to_string(way));
            StartWithType(form.optText);
            app.VariableFilePath = U"/home/user/quotes.txt";
            files.aliases[U"/home/user/link.txt"] = U"/opt/velmo/Variable.txt";
            Existing(U"/home/user/sig.txt");
            Existing(U"/opt/velmo/Variable.txt");
            files.writes = 0;
            messages.shown.clear();
            fileDialog.results = {path};
            const Text before = way == Recovery ? U"/home/user/gone.txt" : U"/home/user/sig.txt";
            app.SignatureFilePath = before;
            form.chkFile.Value = way == Recovery ? 1 : 0;
            if (way == Button)
                form.cmdSigFile.Click();
            else if (way == TypeChange)
                form.optHTML.Value = true;
            else
                CheckSignatureFile(app);
            EXPECT_EQ(fileDialog.calls.size(), 1u);
            EXPECT_EQ(app.SignatureFilePath, before);
            EXPECT_EQ(files.writes, 0);
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].title, U"Signature File");
            EXPECT_NE(messages.shown[0].text.find(path), Text::npos);
        }
    }
}

// Type changes

TEST_F(OutputSelectionTest, TypeMatchingTheCurrentFileAsksForNothing) {
    const struct {
        OptionButton& type;
        const char32_t* path;
    } cases[] = {
        {form.optText, U"/home/user/sig.txt"},
        {form.optHTML, U"/home/user/sig.htm"},
        {form.optRTF, U"/home/user/sig.rtf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type.Name);
        // Another type first, so that setting this one is a change.
        StartWithType(&c.type == &form.optHTML ? form.optRTF : form.optHTML);
        app.SignatureFilePath = c.path;
        c.type.Value = true;
        EXPECT_TRUE(fileDialog.calls.empty());
        EXPECT_EQ(app.SignatureFilePath, c.path);
        EXPECT_EQ(form.chkFile.Value.get(), 0);
        EXPECT_EQ(form.txtSigFile.Text.get(), U"shown before");
    }
}

TEST_F(OutputSelectionTest, TypeChangeAsksForAFileOfTheNewKind) {
    const struct {
        OptionButton& type;
        const char32_t* path;
        const Text& filter;
        const char32_t* picked;
        const Text& folder;  // the dialog starts in, with an empty name
    } cases[] = {
        {form.optHTML, U"/home/user/sig.txt", kHtmlTypeFilter, U"/home/user/sig.htm",
         U"/home/user/"},
        {form.optRTF, U"/home/user/sig.htm", kRichTextTypeFilter, U"/home/user/sig.rtf",
         U"/home/user/"},
        {form.optText, U"/home/user/pmail/Inetsig.pms", kTextTypeFilter,
         U"/home/user/pmail/Inetsig2.pms", U"/home/user/pmail/"},
        {form.optText, U"/home/user/SIG.TXT", kTextTypeFilter, U"/home/user/sig.txt",
         U"/home/user/"},
        {form.optHTML, U"", kHtmlTypeFilter, U"/home/user/page.htm", kDocuments},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        StartWithType(&c.type == &form.optRTF ? form.optHTML : form.optRTF);
        form.chkFile.Value = 0;
        app.SignatureFilePath = c.path;
        Existing(c.picked);
        files.writes = 0;
        fileDialog.results.push_back(c.picked);
        c.type.Value = true;
        ASSERT_EQ(fileDialog.calls.size(), 1u);
        EXPECT_EQ(fileDialog.calls[0].initial, c.folder);
        EXPECT_EQ(fileDialog.calls[0].filter, c.filter);
        EXPECT_EQ(app.SignatureFilePath, c.picked);
        EXPECT_EQ(form.chkFile.Value.get(), 1);
        EXPECT_EQ(form.txtSigFile.Text.get(), c.picked);
        // The new type takes effect at the next build, not now.
        EXPECT_EQ(files.writes, 0);
    }
}

TEST_F(OutputSelectionTest, CancelledTypeChangeKeepsTheFileInUse) {
    app.SignatureFilePath = U"/home/user/sig.txt";
    form.optRTF.Value = true;                // the fake dialog cancels
    EXPECT_EQ(fileDialog.calls.size(), 1u);  // and no recovery dialog follows
    EXPECT_EQ(app.SignatureFilePath, U"/home/user/sig.txt");
    EXPECT_EQ(form.chkFile.Value.get(), 0);
    EXPECT_EQ(form.txtSigFile.Text.get(), U"shown before");
    EXPECT_TRUE(form.optRTF.Value);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(OutputSelectionTest, TypeChangeToAFileThatCannotBeMadeLeadsToTheRecoveryDialog) {
    app.SignatureFilePath = U"/home/user/sig.txt";
    files.failWrites[U"/home/user/gone.htm"] = std::make_error_code(std::errc::permission_denied);
    fileDialog.results.push_back(U"/home/user/gone.htm");
    fileDialog.results.push_back(U"/home/user/found.htm");
    form.optHTML.Value = true;
    ASSERT_EQ(fileDialog.calls.size(), 2u);
    EXPECT_EQ(fileDialog.calls[1].initial, U"/home/user/AnySignatureFile.txt");
    EXPECT_EQ(fileDialog.calls[1].filter, kRecoveryFilter);
    EXPECT_EQ(app.SignatureFilePath, U"/home/user/found.htm");
    EXPECT_EQ(files.files[U"/home/user/found.htm"].substr(0, 9), "<!DOCTYPE");
}

// OpenFileDialog keeps the classic contract: a cancel gives back the initial text.

TEST_F(OutputSelectionTest, OpenFileDialogReturnsThePickOrTheInitialText) {
    fileDialog.results.push_back(U"/home/user/picked.txt");
    EXPECT_EQ(OpenFileDialog(app, U"start.txt", kAllFilter, U"Title"), U"/home/user/picked.txt");
    EXPECT_EQ(OpenFileDialog(app, U"start.txt", kAllFilter, U"Title"), U"start.txt");
    fileDialog.results.push_back(Text());
    EXPECT_EQ(OpenFileDialog(app, U"start.txt", kAllFilter, U"Title"), U"start.txt");
    ASSERT_EQ(fileDialog.calls.size(), 3u);
    EXPECT_EQ(fileDialog.calls[0].initial, U"start.txt");
    EXPECT_EQ(fileDialog.calls[0].filter, kAllFilter);
    EXPECT_EQ(fileDialog.calls[0].title, U"Title");
}

// ShortenPath

TEST(ShortenPathTest, WorkedExampleInBothStyles) {
    const Text windows =
        U"C:\\Documents and Settings\\Someone\\Application Data\\Mail Client\\signature.txt";
    ASSERT_EQ(windows.size(), 76u);
    ASSERT_EQ(windows.find(U'.'), 72u);
    EXPECT_EQ(ShortenPath(windows, 55, PathStyle::Windows),
              U"C:\\...\\Someone\\Application Data\\Mail Client\\signature.txt");

    const Text posix =
        U"/Documents and Settings/Someone/Application Data/Mail Client/signature.txt";
    EXPECT_EQ(ShortenPath(posix, 55, PathStyle::Posix),
              U"/.../Someone/Application Data/Mail Client/signature.txt");
}

TEST(ShortenPathTest, FirstDotAt55IsKeptAt56Shortened) {
    // "C:\" + 40 + "\" + n + ".txt": the first dot is at 45 + n.
    const Text folder(40, U'a');
    const Text at55 = U"C:\\" + folder + U"\\" + Text(10, U'b') + U".txt";
    const Text at56 = U"C:\\" + folder + U"\\" + Text(11, U'b') + U".txt";
    ASSERT_EQ(at55.find(U'.'), 54u);
    EXPECT_EQ(ShortenPath(at55, 55, PathStyle::Windows), at55);
    // From the first backslash fewer than 55 characters remain to the dot.
    EXPECT_EQ(ShortenPath(at56, 55, PathStyle::Windows), U"C:\\..." + at56.substr(2));

    // "/" + 42 + "/" + n + ".txt": the first dot again at 45 + n.
    const Text p55 = U"/" + Text(42, U'a') + U"/" + Text(10, U'b') + U".txt";
    const Text p56 = U"/" + Text(42, U'a') + U"/" + Text(11, U'b') + U".txt";
    ASSERT_EQ(p55.find(U'.'), 54u);
    EXPECT_EQ(ShortenPath(p55, 55, PathStyle::Posix), p55);
    EXPECT_EQ(ShortenPath(p56, 55, PathStyle::Posix), U"/..." + p56);

    // Only the first dot counts, not the length.
    const Text earlyDot = U"/home/a.b/" + Text(100, U'c') + U"/sig.txt";
    EXPECT_EQ(ShortenPath(earlyDot, 55, PathStyle::Posix), earlyDot);
}

TEST(ShortenPathTest, DeeperFoldersAreDroppedUntilTheRestFits) {
    // The first dot is at 87; the backslash at 43 is the first one followed
    // by fewer than 55 characters up to it.
    Text path = U"C:\\";
    for (int i = 0; i < 4; ++i)
        path += Text(19, static_cast<char32_t>(U'a' + i)) + U"\\";
    path += U"sig.txt";
    EXPECT_EQ(ShortenPath(path, 55, PathStyle::Windows),
              U"C:\\...\\" + Text(19, U'c') + U"\\" + Text(19, U'd') + U"\\sig.txt");
    Text posix = U"/";
    for (int i = 0; i < 4; ++i)
        posix += Text(19, static_cast<char32_t>(U'a' + i)) + U"/";
    posix += U"sig.txt";
    EXPECT_EQ(ShortenPath(posix, 55, PathStyle::Posix),
              U"/.../" + Text(19, U'c') + U"/" + Text(19, U'd') + U"/sig.txt");
}

TEST(ShortenPathTest, TailEndsThreeCharactersAfterTheDotAtMost) {
    // The tail takes dot + 3 characters from its separator, so a long
    // second extension is cut.
    const Text path = U"/" + Text(60, U'x') + U"/s.t" + Text(100, U'u');
    // Dot at 64; the second slash is at 62, 64 - 63 < 55; tail of 67 characters.
    EXPECT_EQ(ShortenPath(path, 55, PathStyle::Posix), U"/..." + path.substr(61, 67));
}

TEST(ShortenPathTest, NoSeparatorAfterTheHeadLeavesTheHeadAlone) {
    EXPECT_EQ(ShortenPath(U"C:\\" + Text(60, U'x') + U".txt", 55, PathStyle::Windows), U"C:\\...");
    EXPECT_EQ(ShortenPath(U"/" + Text(60, U'x') + U".txt", 55, PathStyle::Posix), U"/...");
    // The other style's separator is just a character.
    EXPECT_EQ(
        ShortenPath(U"/" + Text(30, U'x') + U"\\" + Text(30, U'y') + U".txt", 55, PathStyle::Posix),
        U"/...");
}

TEST(ShortenPathTest, PathWithoutADotIsNeverShortened) {
    const Text windows = U"C:\\" + Text(200, U'x') + U"\\signature";
    const Text posix = U"/" + Text(200, U'x') + U"/signature";
    EXPECT_EQ(ShortenPath(windows, 55, PathStyle::Windows), windows);
    EXPECT_EQ(ShortenPath(posix, 55, PathStyle::Posix), posix);
    EXPECT_EQ(ShortenPath(U"", 55, PathStyle::Posix), U"");
}

TEST(ShortenPathTest, LimitZeroMeans55) {
    const Text at55 = U"/" + Text(42, U'a') + U"/" + Text(10, U'b') + U".txt";
    const Text at56 = U"/" + Text(42, U'a') + U"/" + Text(11, U'b') + U".txt";
    const Text windows =
        U"C:\\Documents and Settings\\Someone\\Application Data\\Mail Client\\signature.txt";
    for (PathStyle style : {PathStyle::Posix, PathStyle::Windows}) {
        for (const Text& path : {at55, at56, windows}) {
            EXPECT_EQ(ShortenPath(path, 0, style), ShortenPath(path, 55, style));
        }
    }
    EXPECT_EQ(ShortenPath(at56, 0, PathStyle::Posix), U"/..." + at56);
}

TEST(ShortenPathTest, OtherLimits) {
    const Text path = U"/home/user/mail/signature.txt";  // dot at 26
    EXPECT_EQ(ShortenPath(path, 26, PathStyle::Posix), path);
    EXPECT_EQ(ShortenPath(path, 25, PathStyle::Posix), U"/.../home/user/mail/signature.txt");
    EXPECT_EQ(ShortenPath(path, 15, PathStyle::Posix), U"/.../mail/signature.txt");
    EXPECT_EQ(ShortenPath(path, 10, PathStyle::Posix), U"/.../signature.txt");
    EXPECT_EQ(ShortenPath(path, 5, PathStyle::Posix), U"/...");
}

TEST(ShortenPathTest, NetworkPathTailNeverRepeatsTheHead) {
    // "\\server\share\" + 40 + ".txt": the first dot is at 56, and fewer
    // than 55 characters follow the very first backslash, which lies inside
    // the head "\\s": the tail starts at the next backslash instead.
    const Text path = U"\\\\server\\share\\" + Text(40, U'd') + U".txt";
    ASSERT_EQ(path.find(U'.'), 55u);
    EXPECT_EQ(ShortenPath(path, 55, PathStyle::Windows),
              U"\\\\s...\\share\\" + Text(40, U'd') + U".txt");
    for (int limit = 1; limit <= 60; ++limit)
        EXPECT_LE(ShortenPath(path, limit, PathStyle::Windows).size(), path.size() + 3);
}

}  // namespace
}  // namespace velmo
