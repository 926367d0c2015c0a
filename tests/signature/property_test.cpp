// Randomised checks over many texts and option sets: rows line up, lines fit,
// and no character of a part is lost or reordered.

#include <gtest/gtest.h>

#include <random>

#include "domain/layout.h"
#include "domain/wrap.h"
#include "support/fakes.h"
#include "support/text_helpers.h"
#include "ui/options.h"
#include "ui/signature.h"

namespace velmo {
namespace {

const Text kAlphabet =
    U"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,;:!?'-"
    U"äöüßéèçñøåΑβγδεζηθλμπσωЖжЯя€“”";

class Generator {
  public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

    Text Word(int maxLength) {
        Text w;
        const int n = Between(1, maxLength);
        for (int i = 0; i < n; ++i)
            w += kAlphabet[static_cast<size_t>(Between(0, static_cast<int>(kAlphabet.size()) - 1))];
        return w;
    }

    // Words of at most `maxWord` characters, runs of blanks, line breaks and
    // empty lines.
    Text Part(int maxWord) {
        Text t;
        const int words = Between(0, 40);
        for (int i = 0; i < words; ++i) {
            if (i > 0) {
                if (Chance(12)) {
                    t += CrLf;
                    if (Chance(20))
                        t += CrLf;
                } else {
                    t += Text(static_cast<size_t>(Chance(85) ? 1 : Between(2, 4)), U' ');
                }
            }
            t += Word(maxWord);
        }
        if (Chance(10))
            t = U"  " + t + U"  ";
        if (Chance(10))
            t += CrLf;
        return t;
    }

  private:
    std::mt19937 rng_;
};

// Everything but blanks and line breaks, in order.
Text Visible(TextView t) {
    Text out;
    for (char32_t c : t) {
        if (c != U' ' && c != U'\r' && c != U'\n')
            out += c;
    }
    return out;
}

void ExpectWellFormedLines(const Text& out, size_t limit, const Text& input) {
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(out.substr(out.size() - 2), CrLf);
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] == U'\r') {
            ASSERT_TRUE(i + 1 < out.size() && out[i + 1] == U'\n') << i;
        }
        if (out[i] == U'\n') {
            ASSERT_TRUE(i > 0 && out[i - 1] == U'\r') << i;
        }
    }
    // Only the last word is never broken, so only a piece of it may be longer.
    const Text trimmed = TrimBlanks(input);
    const Text lastWord =
        trimmed.substr(trimmed.rfind(U' ') == Text::npos ? 0 : trimmed.rfind(U' ') + 1);
    for (const Text& line : testing::SplitLines(out)) {
        if (line.size() <= limit)
            continue;
        EXPECT_TRUE(line.find(U' ') == Text::npos && lastWord.find(line) != Text::npos)
            << "line of " << line.size() << " in a wrap at " << limit;
    }
    EXPECT_EQ(Visible(out), Visible(input));
}

TEST(WrapProperty, LinesFitAndNothingIsLost) {
    Generator gen(20261206);
    for (int round = 0; round < 3000; ++round) {
        const int width = gen.Between(2, 100);
        // Words up to the limit always fit on an empty line; longer ones get cut.
        const Text input = gen.Part(gen.Chance(80) ? std::max(1, width - 2) : 2 * width);
        const Text out = WrapText(input, width);
        SCOPED_TRACE(::testing::Message() << "round " << round << " width " << width);
        ExpectWellFormedLines(out, static_cast<size_t>(width - 1), input);
    }
}

class LayoutProperty : public ::testing::Test, protected testing::TestApp {};

TEST_F(LayoutProperty, FramedRowsAreTheTotalWidthAndKeepEveryCharacter) {
    MainForm& f = app.form;
    SetDefaults(app);
    Generator gen(7);
    const Text sideChars = U"*#|<>=+§";
    const auto side = [&] {
        Text s;
        const int n = gen.Between(0, 6);
        for (int i = 0; i < n; ++i)
            s += sideChars[static_cast<size_t>(gen.Between(0, 7))];
        return s;
    };

    for (int round = 0; round < 1500; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        f.chkBorder.Value = 1;
        f.optHTML.Value = gen.Chance(25);
        if (!f.optHTML.Value)
            f.optText.Value = true;
        const Text widths[] = {U"40", U"60", U"80", U"100"};
        f.cmbWidth.Text = widths[gen.Between(0, 3)];
        if (gen.Chance(30)) {
            f.optTBLike.Value = true;
            f.txtTBLike.Text = Repeat(U"=", gen.Between(40, 100));
        } else {
            f.optTBRepeat.Value = true;
            f.txtTBRepeat.Text = Repeat(U"=", gen.Between(1, 6));
        }
        f.txtSBSLeftLike.Text = side();
        f.txtSBSRightLike.Text = side();
        f.chkSBSRightSame.Value = gen.Between(0, 1);
        f.cmbSBSIndent.Text = ToText(gen.Between(0, 4));
        f.chkSpace.Value = gen.Between(0, 1);
        OptionButton* separators[] = {&f.optSBSSepNone, &f.optSBSBlankLine, &f.optSBSSameTop,
                                      &f.optSBSSameBottom};
        separators[gen.Between(0, 3)]->Value = true;
        f.chkVar.Value = gen.Chance(90) ? 1 : 0;
        f.chkFixed.Value = gen.Chance(90) ? 1 : 0;
        f.optOrderFF.Value = gen.Chance(50);
        if (!f.optOrderFF.Value)
            f.optOrderVF.Value = true;

        // Words short enough for the narrowest content (18 characters).
        app.PickedText = gen.Part(16);
        f.txtFixed.Text = gen.Part(16);
        BuildSignature(app);

        const size_t total = f.optTBLike.Value
                                 ? f.txtTBLike.Text.get().size()
                                 : static_cast<size_t>(ToWholeNumber(f.cmbWidth.Text.get()));
        const SideBorders sides = ComputeSideBorders(ReadOptions(f));
        const int content =
            static_cast<int>(total - sides.LeftSide.size() - sides.RightSide.size());
        ASSERT_GE(content, 18);

        // Every line that is not a border (or an HTML blank row) is exactly the total width.
        const auto lines = testing::SplitLines(app.SignatureText);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], U"");
        for (size_t i = 1; i < lines.size(); ++i) {
            const Text& line = lines[i];
            const bool border = !line.empty() && line.find_first_not_of(U'=') == Text::npos;
            if (border || line.empty())
                continue;
            const size_t width = f.optHTML.Value ? static_cast<size_t>(content + 2) : total;
            EXPECT_EQ(line.size(), width) << "line " << i << ": " << ToUtf8(line);
        }

        // Each part framed alone, side borders stripped, holds its text in order.
        for (const Text& part : {app.PickedText, f.txtFixed.Text.get()}) {
            if (part.empty())
                continue;
            Text inside;
            for (Text row : testing::SplitLines(FramePart(ReadOptions(f), part, content))) {
                row += CrLf;
                ASSERT_EQ(row.substr(0, sides.LeftSide.size()), sides.LeftSide);
                if (!f.optHTML.Value) {
                    ASSERT_EQ(row.substr(row.size() - sides.RightSide.size()), sides.RightSide);
                    row.resize(row.size() - sides.RightSide.size());
                }
                inside += row.substr(sides.LeftSide.size());
            }
            EXPECT_EQ(Visible(inside), Visible(part));
        }
    }
}

}  // namespace
}  // namespace velmo
