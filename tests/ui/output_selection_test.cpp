#include <gtest/gtest.h>

#include <string>

#include "support/fakes.h"
#include "support/native_forms.h"
#include "support/text_helpers.h"
#include "ui/app.h"
#include "ui/signature_file.h"

namespace velmo {
namespace {

// "Text (*.txt)|*.txt;*.text|All Files (*.*)|*.*|" as the dialog's list of
// types, "*.*" standing for every file.
FileFilters Spelled(TextView spelled) {
    FileFilters filters;
    std::vector<Text> fields;
    for (size_t start = 0, bar; (bar = spelled.find(U'|', start)) != TextView::npos;
         start = bar + 1)
        fields.emplace_back(spelled.substr(start, bar - start));
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
        FileFilter& filter = filters.emplace_back(FileFilter{fields[i], {}});
        TextView patterns = fields[i + 1];
        while (!patterns.empty()) {
            const size_t semicolon = std::min(patterns.find(U';'), patterns.size());
            const Text pattern(patterns.substr(0, semicolon));
            filter.patterns.push_back(pattern == U"*.*" ? Text(U"*") : pattern);
            patterns.remove_prefix(std::min(semicolon + 1, patterns.size()));
        }
    }
    return filters;
}

// The filters spelled out here rather than taken from the code, so that a
// typo in either shows.
const FileFilters kTextFilter =
    Spelled(U"Text Files (*.txt)|*.txt|Pegasus Mail (*.pms)|*.pms|All Files (*.*)|*.*|");
const FileFilters kHtmlFilter = Spelled(U"HTML Files (*.htm)|*.htm;*.html|");
const FileFilters kRichTextFilter = Spelled(U"Rich Text (*.rtf)|*.rtf|");
const FileFilters kAllFilter = Spelled(U"All Files (*.*)|*.*|");
const FileFilters kHtmlTypeFilter =
    Spelled(U"HTML Files (*.htm)|*.htm;*.html|All Files (*.*)|*.*|");
const FileFilters kRichTextTypeFilter =
    Spelled(U"Rich Text Files (*.rtf)|*.rtf|All Files (*.*)|*.*|");
const FileFilters kTextTypeFilter = Spelled(
    U"Text Files (*.txt)|*.txt|Pegasus Files (Inetsig*.pms)|Inetsig*.pms|All Files (*.*)|*.*|");
const FileFilters kNoFilter;
const Text kDocuments = testing::Folder(U"home/test/Documents");
const bool kWindows = NativePathStyle() == PathStyle::Windows;
constexpr const char32_t* kPath = U"/home/user/mail/signature.txt";
using testing::NativeFileBytes;

class OutputSelectionTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.session.dataFolder = U"/opt/velmo/";
        testing::ComposeFixedTextAlone(app.session, U"ab");
        app.started = true;
    }

    // Makes a type current with `path` in use; files and messages are
    // forgotten.
    void Start(OptionButton& type, const Text& path) {
        // A file of the type's kind: the change asks for none.
        app.session.signaturePath = &type == &form.optHTML  ? U"htm"
                                    : &type == &form.optRTF ? U"rtf"
                                                            : U"txt";
        type.Value = true;
        app.session.signaturePath = path;
        form.chkSignatureFile.Value = Check::Off;
        form.txtSignatureFilePath.Text = U"shown before";
        fileDialog.calls.clear();
        files.files.clear();
        files.writes = 0;
        messages.shown.clear();
    }

    MainForm& form = app.form;
};

using SignatureFileTest = OutputSelectionTest;

// The file button starts the dialog at the file in use, filtered by its
// extension (case matters), or by the type without one; a type change asks
// for a file of the new kind in the folder of the file in use, unless that
// file already is one. A name of no known folder or one of Velmo's own files
// is not offered. A pick is stored and shown; cancelled, nothing changes, the
// type included.
TEST_F(OutputSelectionTest, DialogsStartWhereTheFileInUseIs) {
    const Text picked = U"/home/user/picked.txt";
    const struct {
        OptionButton* change;  // the type chosen; none for the file button
        OptionButton& type;
        const char32_t* path;
        const FileFilters& filter;  // of the dialog; none when nothing is asked
        const Text& initial;
        bool picks;
    } rows[] = {
        {nullptr, form.optRTF, U"/home/user/sig.txt", kTextFilter, U"/home/user/sig.txt", false},
        {nullptr, form.optRTF, U"/home/user/sig.htm", kHtmlFilter, U"/home/user/sig.htm", false},
        {nullptr, form.optText, U"/home/user/sig.rtf", kRichTextFilter, U"/home/user/sig.rtf",
         true},
        {nullptr, form.optRTF, U"/home/user/SIG.TXT", kAllFilter, U"/home/user/SIG.TXT", false},
        {nullptr, form.optText, U"/home/user/sig.html", kHtmlFilter, U"/home/user/sig.html", false},
        {nullptr, form.optText, U"/home/user/sig.HTML", kAllFilter, U"/home/user/sig.HTML", false},
        {nullptr, form.optRTF, U"xt", kAllFilter, kDocuments, false},
        {nullptr, form.optRTF, U"/opt/velmo/Variable.txt", kTextFilter, kDocuments, false},
        {nullptr, form.optRTF, U"", kRichTextFilter, kDocuments, false},
        {nullptr, form.optText, U"", kTextFilter, kDocuments, true},
        {nullptr, form.optHTML, U"", kHtmlFilter, kDocuments, false},
        {&form.optText, form.optRTF, U"/home/user/sig.txt", kNoFilter, Text(), true},
        {&form.optHTML, form.optRTF, U"/home/user/sig.htm", kNoFilter, Text(), true},
        {&form.optHTML, form.optRTF, U"/home/user/sig.html", kNoFilter, Text(), true},
        {&form.optHTML, form.optRTF, U"/home/user/sightml", kNoFilter, Text(), true},
        {&form.optHTML, form.optRTF, U"/home/user/sig.HTML", kHtmlTypeFilter, U"/home/user/", true},
        {&form.optRTF, form.optHTML, U"/home/user/sig.rtfl", kRichTextTypeFilter, U"/home/user/",
         true},
        {&form.optHTML, form.optRTF, U"/home/user/sig.txt", kHtmlTypeFilter, U"/home/user/", true},
        {&form.optText, form.optRTF, U"/home/user/a/Inetsig.pms", kTextTypeFilter, U"/home/user/a/",
         true},
        {&form.optText, form.optRTF, U"/home/user/SIG.TXT", kTextTypeFilter, U"/home/user/", true},
        {&form.optHTML, form.optRTF, U"", kHtmlTypeFilter, kDocuments, true},
        {&form.optRTF, form.optHTML, U"/home/user/sig.txt", kRichTextTypeFilter, U"/home/user/",
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.path) + (row.change ? " type" : " button"));
        Start(row.type, row.path);
        files.files[picked] = "old";  // the check after a choice asks nothing
        fileDialog.results = {row.picks ? picked : Text()};
        if (row.change)
            row.change->Value = true;
        else
            form.cmdChooseSignatureFile.Click();
        ASSERT_EQ(fileDialog.calls.size(), row.filter.empty() ? 0u : 1u);
        if (!row.filter.empty()) {
            EXPECT_EQ(fileDialog.calls[0].initial, row.initial);
            EXPECT_EQ(fileDialog.calls[0].filter, row.filter);
            EXPECT_EQ(fileDialog.calls[0].choice, FileChoice::ExistingOrNew);
            EXPECT_EQ(fileDialog.calls[0].title, U"Find The Signature File...");
        }
        const bool changed = !row.filter.empty() && row.picks;
        EXPECT_EQ(app.session.signaturePath, changed ? picked : row.path);
        EXPECT_EQ(form.txtSignatureFilePath.Text.get(), changed ? picked : U"shown before");
        EXPECT_EQ(form.chkSignatureFile.Value.get(), changed ? Check::On : Check::Off);
        EXPECT_EQ(files.writes + messages.shown.size(), 0u);
        // A type change that gets no file keeps the type of the file in use.
        EXPECT_TRUE(
            (row.change && (row.filter.empty() || row.picks) ? *row.change : row.type).Value);
    }
}

// A new name is made a file at once, in the folder the dialog showed and
// never the current one, and shown shortened; an existing file is left as it
// is, and the type stays.
TEST_F(OutputSelectionTest, PickedFileIsMadeAndShown) {
    // The first dot at 56 is beyond the limit of 55.
    const Text at56 = kWindows ? U"C:\\" + Text(40, U'a') + U"\\" + Text(11, U'b') + U".txt"
                               : U"/" + Text(42, U'a') + U"/" + Text(11, U'b') + U".txt";
    const Text shown56 = kWindows ? U"C:\\..." + at56.substr(2) : U"/..." + at56;
    // A leading backslash is a name on POSIX, the root of the drive on Windows.
    const Text backslashed = kWindows ? U"\\new.txt" : kDocuments + U"\\new.txt";
    const struct {
        Text before, answer, stored, shown;
    } rows[] = {
        {Text(), at56, at56, shown56},
        {U"/home/user/old.txt", U"new.txt", U"/home/user/new.txt", U"/home/user/new.txt"},
        {Text(), U"\\new.txt", backslashed, backslashed},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.answer));
        Start(form.optHTML, row.before);
        files.files[U"/home/user/sig.txt"] = "old";
        fileDialog.results = {row.answer};
        form.cmdChooseSignatureFile.Click();
        EXPECT_EQ(app.session.signaturePath, row.stored);
        EXPECT_EQ(form.txtSignatureFilePath.Text.get(), row.shown);
        EXPECT_EQ(form.chkSignatureFile.Value.get(), Check::On);
        EXPECT_TRUE(form.optHTML.Value);
        EXPECT_EQ(files.files[row.stored].substr(0, 9), "<!DOCTYPE");
        EXPECT_EQ(files.files[U"/home/user/sig.txt"], "old");
        EXPECT_EQ(files.writes, 1);
        EXPECT_TRUE(messages.shown.empty());
    }
}

// A file that cannot be made leads to the recovery dialog, whose pick is
// written at once in the current form; cancelled, the first pick stays.
// A type change reaches the same code once a file is chosen.
TEST_F(OutputSelectionTest, AFileThatCannotBeMadeLeadsToTheRecoveryDialog) {
    const Text gone = U"/home/user/gone.htm", found = U"/home/user/found.htm";
    for (bool recovered : {true, false}) {
        SCOPED_TRACE(recovered);
        Start(form.optRTF, U"/home/user/sig.txt");
        files.failWrites[gone] = std::make_error_code(std::errc::permission_denied);
        fileDialog.results = {gone, recovered ? std::optional(found) : std::nullopt};
        form.cmdChooseSignatureFile.Click();
        ASSERT_EQ(fileDialog.calls.size(), 2u);
        EXPECT_EQ(fileDialog.calls[1].initial, U"/home/user/AnySignatureFile.txt");
        EXPECT_EQ(fileDialog.calls[1].filter,
                  Spelled(U"All Files (*.*)|*.*|Text (*.txt)|*.txt|Pegasus (*.pms)|*.pms|"
                          U"HTML (*.htm)|*.htm;*.html|Rich Text (*.rtf)|*.rtf|"));
        EXPECT_EQ(fileDialog.calls[1].choice, FileChoice::ExistingOrNew);
        const Text path = recovered ? found : gone;
        EXPECT_EQ(app.session.signaturePath, path);
        EXPECT_EQ(form.txtSignatureFilePath.Text.get(), path);
        EXPECT_EQ(form.chkSignatureFile.Value.get(), Check::On);
        EXPECT_EQ(files.files.size(), recovered ? 1u : 0u);
        EXPECT_EQ(files.files[path].substr(0, 6), recovered ? "{\\rtf1" : "");
        // Why the first pick was not made.
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].text.find(gone), Text::npos);
    }
}

// However it is reached, a file of Velmo's own or a path of no known folder
// is refused with the message that says which, the file in use and its type
// stay, and nothing is written. While a type change asks, a scheduled write puts the
// new form in no file, the file in use least of all.
TEST_F(OutputSelectionTest, OwnFilesAndUnknownFoldersAreRefused) {
    const Text rows[] = {
        U"/opt/velmo/Variable.txt",  // shown by the text filter
        U"/home/user/quotes.txt",    // the quote list in use
        U"/opt/velmo/Fixed.fxt",     // not there yet
        U"/home/test/.config/Velmo/User.reg",
        testing::Rooted(U"opt/velmo/velmo"),
        U"/home/user/link.txt",                                    // a link to the quote list
        U"sig.txt",                                                // with no folder to put it in
        U"/home/test/.local/share/Velmo/profiles/work/Fixed.fxt",  // another profile's
    };
    enum Way { Button, TypeChange, Recovery };
    for (const Text& path : rows) {
        for (Way way : {Button, TypeChange, Recovery}) {
            SCOPED_TRACE(ToUtf8(path) + " way " + std::to_string(way));
            const Text before =
                path == U"sig.txt" || way == Recovery ? Text() : U"/home/user/sig.txt";
            Start(form.optText, before);
            program.documentsFolder.clear();
            program.otherProfilesFolders = {U"/home/test/.local/share/Velmo/profiles/work/"};
            app.session.quoteListPath = U"/home/user/quotes.txt";
            files.aliases[U"/home/user/link.txt"] = U"/opt/velmo/Variable.txt";
            files.files[U"/home/user/sig.txt"] = files.files[U"/opt/velmo/Variable.txt"] = "old";
            fileDialog.results = {path};
            fileDialog.whileOpen = [this] { WriteSignatureFile(app); };
            form.chkSignatureFile.Value =
                way == Button ? Check::Off : Check::On;  // the button keeps the file in use
            if (way == Button)
                form.cmdChooseSignatureFile.Click();
            else if (way == TypeChange)
                form.optHTML.Value = true;
            else
                CheckSignatureFile(app);
            EXPECT_EQ(fileDialog.calls.size(), 1u);
            EXPECT_EQ(app.session.signaturePath, before);
            EXPECT_TRUE(form.optText.Value);
            EXPECT_EQ(files.writes, 0);
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].title, U"Signature File");
            EXPECT_EQ(messages.shown[0].text.find(path), 0u);
            EXPECT_NE(messages.shown[0].text.find(path == U"sig.txt" ? U"not a full path"
                                                                     : U"Velmo's own files"),
                      Text::npos);
        }
    }
}

// One message for a failing file, not one for every scheduled change; a
// failure after a success, or of another file, is news again. A path of no
// known folder is never written, and said once too; no path is no fault.
TEST_F(SignatureFileTest, EachFailureIsReportedOnce) {
    const Text other = U"/mnt/readonly/signature.txt";
    form.chkSignatureFile.Value = Check::On;
    files.files[kPath] = "old\r\n";
    files.failWrites[kPath] = std::make_error_code(std::errc::permission_denied);
    files.failWrites[other] = std::make_error_code(std::errc::read_only_file_system);
    const auto write = [this](const Text& path, int times) {
        app.session.signaturePath = path;
        for (int i = 0; i < times; ++i)
            WriteSignatureFile(app);
    };
    write(kPath, 3);
    EXPECT_EQ(files.files[kPath], "old\r\n");  // left as it was
    files.failWrites.erase(kPath);
    write(kPath, 1);
    EXPECT_EQ(files.files[kPath], NativeFileBytes("ab\r\n\r\n\r\n\r\n"));
    files.failWrites[kPath] = std::make_error_code(std::errc::no_space_on_device);
    write(kPath, 2);
    write(other, 2);
    write(U"mail/sig.txt", 2);
    write(Text(), 2);  // no file chosen yet: nothing to say
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].style, message::Warning);
    EXPECT_EQ(messages.shown[0].title, U"Signature File");
    EXPECT_NE(messages.shown[0].text.find(Text(kPath) + U"\r\nPermission denied"), Text::npos);
    EXPECT_NE(messages.shown[1].text.find(Text(kPath) + U"\r\nNo space left on device"),
              Text::npos);
    EXPECT_NE(messages.shown[2].text.find(other + U"\r\nRead-only file system"), Text::npos);
    EXPECT_EQ(messages.shown[3].text.find(U"mail/sig.txt\r\n"), 0u);
    EXPECT_NE(messages.shown[3].text.find(U"not a full path"), Text::npos);
    EXPECT_EQ(files.files.size(), 1u);
}

// Each copy is the part in use (the fixed part as the editor shows it, saved
// or not) with a line end, unchanged, whatever the layout options; nothing
// is rebuilt, written or shown.
TEST_F(SignatureFileTest, EachClipboardMenuCopiesItsPartsUnchanged) {
    const Text wide = U"  Caf\u00e9 \U0001F600 " + Text(120, U'w') + U"  ";
    form.chkSignatureFile.Value = Check::On;  // a rebuild would write
    app.session.signaturePath = kPath;
    form.chkVariablePart.Value = Check::Off;
    form.chkBorder.Value = Check::On;
    app.session.quoteList.Entries[1] = wide;
    app.session.Pick(1);
    form.txtFixedText.Text = U"x\r\nends\r\n";
    form.mnuCopySignature.Click();
    form.mnuCopyVariablePart.Click();
    form.mnuCopyFixedPart.Click();
    EXPECT_EQ(clipboard.texts, (std::vector<Text>{wide + U"\r\nx\r\nends\r\n\r\n", wide + U"\r\n",
                                                  U"x\r\nends\r\n\r\n"}));
    EXPECT_EQ(app.session.Signature(), U"ab\r\n\r\n\r\n");
    EXPECT_EQ(files.writes + messages.shown.size(), 0u);
}

// The display form: when the first dot lies beyond the limit (0 means 55),
// the root, "..." and the deepest folders that bring it within the limit,
// ending three characters after the dot.
TEST(ShortenPathTest, Table) {
    const Text a40(40, U'a'), a42(42, U'a'), d40(40, U'd'), mail = U"/home/user/mail/sig.txt";
    const Text deep = U"/" + Text(19, U'a') + U"/" + Text(19, U'b') + U"/" + a40 + U"/sig.txt";
    const struct {
        PathStyle style;
        int limit;
        Text path, shown;  // no shown: the path as it is
    } rows[] = {
        {PathStyle::Windows, 55,
         U"C:\\Documents and Settings\\Someone\\Application Data\\Mail Client\\signature.txt",
         U"C:\\...\\Someone\\Application Data\\Mail Client\\signature.txt"},
        // The first dot at 55 is kept, at 56 shortened.
        {PathStyle::Posix, 0, U"/" + a42 + U"/bbbbbbbbbb.txt", U""},
        {PathStyle::Posix, 0, U"/" + a42 + U"/bbbbbbbbbbb.txt",
         U"/.../" + a42 + U"/bbbbbbbbbbb.txt"},
        // Only the first dot counts, not the length; no dot, no shortening.
        {PathStyle::Posix, 55, U"/home/a.b/" + Text(100, U'c'), U""},
        {PathStyle::Posix, 55, U"/" + Text(200, U'x') + U"/sig", U""},
        // Deeper folders go until the rest fits.
        {PathStyle::Posix, 55, deep, U"/.../" + a40 + U"/sig.txt"},
        {PathStyle::Posix, 20, mail, U""},
        {PathStyle::Posix, 19, mail, U"/.../home/user/mail/sig.txt"},
        {PathStyle::Posix, 10, mail, U"/.../mail/sig.txt"},
        {PathStyle::Posix, 3, mail, U"/..."},
        // A long second extension is cut three characters after the dot.
        {PathStyle::Posix, 55, U"/" + Text(60, U'x') + U"/s.t" + Text(100, U'u'),
         U"/.../s.t" + Text(63, U'u')},
        // No separator after the head leaves the head alone; the other
        // style's separator is just a character.
        {PathStyle::Windows, 55, U"C:\\" + Text(60, U'x') + U".txt", U"C:\\..."},
        {PathStyle::Posix, 55, U"/" + Text(30, U'x') + U"\\" + Text(30, U'y') + U".txt", U"/..."},
        // The tail of a network path never repeats its head.
        {PathStyle::Windows, 55, U"\\\\server\\share\\" + d40 + U".txt",
         U"\\\\s...\\share\\" + d40 + U".txt"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ShortenPath(row.path, row.limit, row.style),
                  row.shown.empty() ? row.path : row.shown)
            << ToUtf8(row.path);
    }
    EXPECT_TRUE(IsFullPath(U"/a", PathStyle::Windows));
    EXPECT_FALSE(IsFullPath(U"a", PathStyle::Windows));
    EXPECT_TRUE(IsRootedPath(U"C:", PathStyle::Windows));
    // A drive letter alone is not rooted, whatever follows it in memory.
    EXPECT_FALSE(IsRootedPath(TextView(U"C:").substr(0, 1), PathStyle::Windows));
}

}  // namespace
}  // namespace velmo
