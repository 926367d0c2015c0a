#include "service/signature_command.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>

#include "domain/pick_round.h"
#include "domain/text_fields.h"
#include "platform/file_text.h"
#include "platform/read_only_files.h"
#include "service/settings_key.h"
#include "service/signature_session.h"
#include "support/fakes.h"

namespace velmo {
namespace {

using testing::TestPlatform;

const Text kData = testing::Folder(U"opt/velmo");
const Text kFixed = kData + U"Fixed.fxt", kQuotes = kData + U"Variable.txt";
const Text kSignature = testing::Rooted(U"home/test/Documents/sig.txt");

// The user's files as the window program leaves them.
void PutFiles(TestPlatform& p, const SignatureOptions& o, bool emptyList = false) {
    p.files.files[kFixed] = EncodeFileText(U"\"Ann Example\"\r\n\"Straße 5\"\r\n");
    const Text quotes =
        U"\"Short one.\"\r\n\"A quotation long enough to be wrapped over more than "
        U"one row of any of the widths, with \"\"quotes\"\" and ümlauts.\"\r\n"
        U"\"Two\r\nlines\"\r\n";
    p.files.files[kQuotes] = emptyList ? "" : EncodeFileText(quotes);
    ASSERT_TRUE(p.settings.CreateKey(Text(UserKey)).value_or(false));
    ASSERT_TRUE(p.settings.SetValues(Text(SettingsKey), EncodeOptions(o, kSignature, U"", U""))
                    .value_or(false));
}

// Text files an earlier version kept beside the program are copied to the
// data folder by --write, as by the window program, and used from there;
// printing reads them where they are and makes no folder.
TEST(SignatureCommandTest, CopiesTheTextFilesFromBesideTheProgramOnce) {
    TestPlatform p;
    p.program.textFilesFolder = p.program.dataFolder;
    PutFiles(p, {.toFile = Check::On, .variablePart = Check::On, .fixedPart = Check::On});
    const SignaturePorts ports{p.files, p.settings, p.program, p.random};
    const SignatureRequest write{std::nullopt, std::nullopt, true, {}};
    const std::map<Text, std::string> before = p.files.files;
    p.files.madeFolders.clear();
    p.random.values = {1};
    SignatureOutcome out = MakeSignature(ports, {});
    ASSERT_EQ(out.failure, SignatureFailure::None);
    EXPECT_NE(out.bytes.find("Ann Example"), std::string::npos);
    EXPECT_NE(out.bytes.find("Short one."), std::string::npos);
    EXPECT_EQ(p.files.files, before);
    EXPECT_TRUE(p.files.madeFolders.empty());

    out = MakeSignature(ports, write);
    ASSERT_EQ(out.failure, SignatureFailure::None);
    EXPECT_EQ(out.copied.copied, (std::vector<Text>{U"Variable.txt", U"Fixed.fxt"}));
    EXPECT_EQ(p.files.files[p.program.dataFolder + U"Fixed.fxt"], p.files.files[kFixed]);
    EXPECT_EQ(p.files.madeFolders, (std::vector<Text>{p.program.dataFolder, p.program.dataFolder}));
    EXPECT_TRUE(MakeSignature(ports, write).copied.copied.empty());
}

// Each failure is reported as such, with no bytes, and leaves every file,
// the settings file above all, as it was.
TEST(SignatureCommandTest, FailuresWriteNothing) {
    const SignatureRequest print{}, entry0{std::nullopt, 0, false, {}},
        entry4{std::nullopt, 4, false, {}};
    const SignatureRequest write{std::nullopt, std::nullopt, true, {}};
    const auto erase = [](Text path) {
        return [path](TestPlatform& p) { p.files.files.erase(path); };
    };
    const struct {
        SignatureFailure expected;
        SignatureRequest request;
        std::function<void(TestPlatform&)> change;
    } rows[] = {
        {SignatureFailure::NoSettings, print, erase(testing::kTestSettingsFile)},
        {SignatureFailure::SettingsUnreadable, print,
         [](auto& p) { p.files.files[testing::kTestSettingsFile] = "not a registry"; }},
        {SignatureFailure::OptionsUnusable, write,
         [](auto& p) {
             ASSERT_TRUE(p.settings.SetValues(Text(SettingsKey), {{U"Program Values", U" 5 0"}})
                             .value_or(false));
         }},
        {SignatureFailure::QuoteListUnreadable, print, erase(kQuotes)},
        {SignatureFailure::FixedTextUnreadable, print, erase(kFixed)},
        {SignatureFailure::EntryOutOfRange, entry0, [](auto&) {}},
        {SignatureFailure::EntryOutOfRange, entry4, [](auto&) {}},
        {SignatureFailure::NoSignatureFile, write, [](auto& p) { PutFiles(p, {}); }},  // file off
        {SignatureFailure::SignatureFileRefused, write,
         [](auto& p) { p.files.aliases[kSignature] = kQuotes; }},
        {SignatureFailure::SignatureFileUnwritable, write,
         [](auto& p) {
             p.files.failWrites[kSignature] = std::make_error_code(std::errc::permission_denied);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.expected));
        TestPlatform p;
        PutFiles(p, {.toFile = Check::On, .fixedPart = Check::On});
        row.change(p);
        const std::map<Text, std::string> before = p.files.files;
        // The settings only read, as the command has them.
        ReadOnlyFiles readOnly(p.files);
        RegFileStore settings(readOnly, testing::kTestSettingsFile);
        const SignatureOutcome out =
            MakeSignature({p.files, settings, p.program, p.random}, row.request);
        EXPECT_EQ(out.failure, row.expected);
        EXPECT_TRUE(out.bytes.empty());
        EXPECT_EQ(p.files.files, before);
    }
}

// Which of PutFiles' quotations a signature holds: 0, 1 or 2.
int QuotationOf(const std::string& signature) {
    for (const int n : {0, 1, 2}) {
        if (signature.find(std::array{"Short one.", "quotation long", "Two"}[n]) != signature.npos)
            return n;
    }
    return -1;
}

// The window's session on PutFiles' list, with no repeats on.
void OpenAsTheWindow(SignatureSession& window) {
    window.options = {.variablePart = Check::On, .noRepeats = true};
    window.quoteListPath = kQuotes;
    ASSERT_TRUE(window.ReadQuoteList());
}

// With "No repeats until all are used" on, runs of the command and the
// window's session take turns in one round, kept in the state file, which
// is read and replaced under the lock.
TEST(SignatureCommandTest, NoRepeatsShareOneRoundThroughItsFile) {
    TestPlatform p;
    PutFiles(p, {.variablePart = Check::On, .noRepeats = true});
    SignatureSession window({p.files, p.program, p.random});
    OpenAsTheWindow(window);
    std::vector<int> picks;
    for (int i = 0; i < 30; ++i) {
        if (i % 3 == 1) {
            window.PickRandom();
            picks.push_back(window.PickedEntry() - 1);
        } else {
            picks.push_back(
                QuotationOf(MakeSignature({p.files, p.settings, p.program, p.random}, {}).bytes));
        }
        if (i % 3 == 2) {
            EXPECT_EQ(std::set<int>(picks.end() - 3, picks.end()), (std::set<int>{0, 1, 2}));
        }
        if (i > 0) {
            EXPECT_NE(picks[i], picks[i - 1]) << i;
        }
    }
    const Text& round = p.program.pickRoundFile;
    EXPECT_EQ(p.files.writtenUnder[round], p.program.pickRoundLock);
    EXPECT_EQ(p.files.madeFolders.back(), testing::Folder(U"home/test/.local/state/Velmo"));

    // A quotation chosen by number is no pick.
    const std::string before = p.files.files[round];
    EXPECT_EQ(QuotationOf(MakeSignature({p.files, p.settings, p.program, p.random},
                                        {std::nullopt, 2, false, {}})
                              .bytes),
              1);
    EXPECT_EQ(p.files.files[round], before);
}

// A round that cannot be read begins afresh without a word; one that cannot
// be written, or has no folder to go to, goes on in the program alone; with
// the mode off no round is kept.
TEST(SignatureCommandTest, NoRepeatsWithoutItsFile) {
    const Text round = TestPlatform().program.pickRoundFile;
    for (const std::string& stored : {std::string("not a round"), std::string(70000, 'x')}) {
        TestPlatform p;
        PutFiles(p, {.variablePart = Check::On, .noRepeats = true});
        p.files.files[round] = stored;
        const SignatureOutcome out = MakeSignature({p.files, p.settings, p.program, p.random}, {});
        EXPECT_EQ(out.failure, SignatureFailure::None);
        const std::optional<PickRound> now = ParsePickRound(p.files.files[round]);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->used.size(), 1u);
    }

    for (const bool folderKnown : {true, false}) {
        TestPlatform p;
        PutFiles(p, {.variablePart = Check::On, .noRepeats = true});
        if (folderKnown)
            p.files.failWrites[round] = std::make_error_code(std::errc::read_only_file_system);
        else
            p.program.pickRoundFile.clear();
        SignatureSession window({p.files, p.program, p.random});
        OpenAsTheWindow(window);
        std::set<int> seen;
        for (int i = 0; i < 3; ++i) {
            window.PickRandom();
            seen.insert(window.PickedEntry());
        }
        EXPECT_EQ(seen.size(), 3u) << folderKnown;
    }

    TestPlatform off;
    PutFiles(off, {.variablePart = Check::On});
    EXPECT_EQ(MakeSignature({off.files, off.settings, off.program, off.random}, {}).failure,
              SignatureFailure::None);
    EXPECT_EQ(off.files.files.count(round), 0u);
}

}  // namespace
}  // namespace velmo
