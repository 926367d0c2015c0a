#include "ui/signature_size.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "ui/app.h"
#include "ui/options.h"
#include "ui/signature.h"

namespace velmo {

void PrintTo(const SizeCaptions& captions, std::ostream* out) {
    *out << ToUtf8(captions.size) << " / " << ToUtf8(captions.warning);
}

namespace {

const Text kWide = U"Wider than 72 columns: mail programs such as Thunderbird break longer lines.";

TEST(SignatureSizeTest, CaptionsCountAndWarnPastSeventyTwoColumns) {
    const struct {
        SignatureSize size;
        SizeCaptions captions;
    } rows[] = {
        {{0, 0}, {U"0 lines, 0 columns", U""}},         {{1, 1}, {U"1 line, 1 column", U""}},
        {{4, 72}, {U"4 lines, 72 columns", U""}},       {{2, 73}, {U"2 lines, 73 columns", kWide}},
        {{12, 100}, {U"12 lines, 100 columns", kWide}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.size.columns);
        EXPECT_EQ(SignatureSizeCaptions(row.size), row.captions);
    }
}

// Every build shows the new signature's size under the four previews, the
// leading empty line of a bordered one counted as velmo-signature counts it;
// the warning comes and goes with the width.
TEST(SignatureSizeTest, EveryBuildShowsTheSizeBesideEachPreview) {
    testing::TestApp t;
    MainForm& form = t.app.form;
    SetDefaults(t.app);
    t.app.session.quoteList.Entries[1] = U"日本語";
    t.app.session.quoteList.EntryCount = 1;
    t.app.session.Pick(1);
    const auto shown = [&] {
        std::vector<SizeCaptions> captions;
        for (const auto& [size, wide] : {std::pair{&form.lblSizeVariable, &form.lblWideVariable},
                                         {&form.lblSizeBorders, &form.lblWideBorders},
                                         {&form.lblSizeSideBorders, &form.lblWideSideBorders},
                                         {&form.lblSizeFixed, &form.lblWideFixed}})
            captions.push_back({size->Caption.get(), wide->Caption.get()});
        return captions;
    };

    form.chkBorder.Value = Check::On;
    form.cmbBorderedWidth.Text = U"80";
    BuildSignature(t.app);
    // The empty line, the top border, the quote, the bottom border.
    EXPECT_EQ(shown(), std::vector<SizeCaptions>(4, {U"4 lines, 80 columns", kWide}));

    form.chkBorder.Value = Check::Off;
    form.optVariableFirst.Value = true;
    BuildSignature(t.app);
    EXPECT_EQ(shown(), std::vector<SizeCaptions>(4, {U"1 line, 6 columns", U""}));
}

}  // namespace
}  // namespace velmo
