#include "ui/options.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace velmo {
namespace {

class OptionsTest : public ::testing::Test, protected testing::TestApp {};

// Shown on the window and read back, the options are the same: every option
// maps to its control and back, whatever the window showed before.
TEST_F(OptionsTest, ShownOptionsReadBackTheSame) {
    testing::ChangeEveryOption(app.form, U" b ");
    app.form.optRTF.Value = true;
    const SignatureOptions changed = ReadOptions(app.form);
    SignatureOptions greyed = changed;
    greyed.toClipboard = greyed.fixedPart = greyed.rightSameAsLeft = Check::Greyed;
    greyed.top = TopBorder::Repeat;
    greyed.bottom = BottomBorder::Like;
    greyed.separator = PartSeparator::SameAsTop;
    greyed.output = OutputForm::Html;
    SignatureOptions unchosen;
    unchosen.bottom = BottomBorder::Repeat;
    unchosen.separator = PartSeparator::Unchosen;
    unchosen.rightLikeChosen = true;
    const SignatureOptions rows[] = {{}, changed, greyed, unchosen, {}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        ShowOptions(app.form, rows[i]);
        EXPECT_EQ(ReadOptions(app.form), rows[i]);
        EXPECT_EQ(app.form.optText.Value + app.form.optHTML.Value + app.form.optRTF.Value, 1);
    }
}

TEST_F(OptionsTest, AStoredFormIsAppliedPathsFirstAndABadOneGivesTheDefaults) {
    const Text good = U" 5 0 1 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 0";  // output type 0
    Text seen;
    app.form.chkFile.Click += [&] { seen = app.SignatureFilePath; };
    for (const Text& packed : {good, good.substr(1)}) {
        SCOPED_TRACE(ToUtf8(packed));
        SetDefaults(app);
        app.form.optHTML.Value = true;
        app.form.chkBorder.Value = 0;
        app.SignatureFilePath = app.VariableFilePath = app.FixedTextFilePath = seen = U"";
        app.ProgramValues = packed;
        app.SettingValues[kSignaturePathText] = U"/tmp/sig.txt";
        app.SettingValues[kQuotePathText] = U"/tmp/q.txt";
        app.SettingValues[kFixedPathText] = U"/tmp/f.fxt";
        ApplyOptions(app);
        const bool bad = packed.size() != 40;
        EXPECT_EQ(seen, bad ? U"" : U"/tmp/sig.txt") << "the path is set before the check box";
        EXPECT_EQ(app.SignatureFilePath + app.VariableFilePath + app.FixedTextFilePath,
                  bad ? U"" : U"/tmp/sig.txt/tmp/q.txt/tmp/f.fxt");
        EXPECT_EQ(app.form.chkBorder.Value.get(), 1);
        // Output type 0 leaves the window's choice.
        EXPECT_EQ(ReadOptions(app.form).output, bad ? OutputForm::PlainText : OutputForm::Html);
    }
}

}  // namespace
}  // namespace velmo
