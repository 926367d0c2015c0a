#include "settings/options.h"

#include <algorithm>
#include <cstdlib>

#include "core/app.h"

namespace velmo {

namespace {

constexpr TextView kDefaultWidth = U"60";
constexpr TextView kDefaultIndent = U"1";
constexpr int kDefaultSlider = 5;

// A stored text that is not one of the combo's choices (empty after a lost
// value, or edited by hand) takes the default: an empty width would leave
// the text unwrapped.
void SetChoiceOrDefault(ComboBox& combo, const Text& stored, TextView fallback) {
    const bool choice =
        std::find(combo.Items.begin(), combo.Items.end(), stored) != combo.Items.end();
    combo.Text = choice ? stored : Text(fallback);
}

}  // namespace

const std::array<std::string_view, 33> SignatureOptionNames = {
    "Slider",        "chkClip",         "chkFile",       "chkVar",           "chkFixed",
    "chkTray",       "cmbFixWidth",     "optOrderFF",    "optOrderVF",       "chkBorder",
    "chkSpace",      "optTBLike",       "optTBRepeat",   "txtTBLike",        "txtTBRepeat",
    "cmbWidth",      "optBBLike",       "optBBRepeat",   "optBBSame",        "txtBBLike",
    "txtBBRepeat",   "txtSBSLeftLike",  "cmbSBSIndent",  "chkSBSRightSame",  "txtSBSRightLike",
    "optSBSSepNone", "optSBSBlankLine", "optSBSSameTop", "optSBSSameBottom", "optSBSRightLike",
    "optText",       "optHTML",         "optRTF",
};

void SetDefaults(App& app) {
    MainForm& f = app.form;
    app.SignatureFilePath.clear();

    f.Slider.Value = kDefaultSlider;
    f.chkClip.Value = 0;
    f.chkFile.Value = 0;
    f.chkVar.Value = 1;
    f.chkFixed.Value = 0;
    f.chkTray.Value = 0;

    f.cmbFixWidth.Text = Text(kDefaultWidth);
    f.optOrderFF.Value = true;
    f.chkBorder.Value = 1;
    f.chkSpace.Value = 0;
    f.optTBRepeat.Value = true;

    f.txtTBLike.Text = Text(DefaultLikeBorder);
    f.txtTBRepeat.Text = U"*";
    f.cmbWidth.Text = Text(kDefaultWidth);

    f.optBBLike.Value = false;
    f.optBBRepeat.Value = false;
    f.txtBBLike.Text = Text(DefaultLikeBorder);
    f.txtBBRepeat.Text = U"*";
    f.optBBSame.Value = false;

    f.txtSBSLeftLike.Text = U"*";
    f.cmbSBSIndent.Text = Text(kDefaultIndent);
    f.chkSBSRightSame.Value = 1;
    f.txtSBSRightLike.Text = U"*";

    f.optSBSSepNone.Value = true;
    f.optSBSBlankLine.Value = false;
    f.optSBSSameTop.Value = false;
    f.optSBSSameBottom.Value = false;
}

std::optional<ProgramFlagArray> DecodeProgramValues(TextView packed) {
    if (packed.size() != 40)
        return std::nullopt;
    ProgramFlagArray flags{};
    const auto digit = [](char32_t c) { return c >= U'0' && c <= U'9'; };
    for (size_t i = 0; i < flags.size(); ++i) {
        const char32_t sign = packed[2 * i];
        const char32_t last = packed[2 * i + 1];
        if (!digit(last) || !(sign == U' ' || sign == U'-' || sign == U'+' || digit(sign))) {
            return std::nullopt;
        }
        int value = static_cast<int>(last - U'0');
        if (digit(sign))
            value += 10 * static_cast<int>(sign - U'0');
        flags[i] = static_cast<std::int16_t>(sign == U'-' ? -value : value);
    }
    return flags;
}

Text EncodeProgramValues(const ProgramFlagArray& flags) {
    Text packed;
    for (const std::int16_t value : flags) {
        // One digit per field keeps the string at 40 characters.
        const int magnitude = std::min(9, std::abs(static_cast<int>(value)));
        packed += value < 0 ? U'-' : U' ';
        packed += static_cast<char32_t>(U'0' + magnitude);
    }
    return packed;
}

ProgramFlagArray CollectProgramFlags(const App& app) {
    const MainForm& f = app.form;
    const auto flag = [](bool on) { return static_cast<std::int16_t>(on ? -1 : 0); };
    const auto number = [](int v) { return static_cast<std::int16_t>(v); };
    std::int16_t outputType = 0;
    if (f.optText.Value) {
        outputType = 1;
    } else if (f.optHTML.Value) {
        outputType = 2;
    } else if (f.optRTF.Value) {
        outputType = 3;
    }
    return {number(f.Slider.Value),          number(f.chkClip.Value),
            number(f.chkFile.Value),         number(f.chkVar.Value),
            number(f.chkFixed.Value),        number(f.chkTray.Value),
            flag(f.optOrderVF.Value),        number(f.chkBorder.Value),
            number(f.chkSpace.Value),        flag(f.optTBLike.Value),
            flag(f.optBBLike.Value),         flag(f.optBBRepeat.Value),
            flag(f.optBBSame.Value),         flag(f.optSBSRightLike.Value),
            flag(f.optSBSSepNone.Value),     flag(f.optSBSBlankLine.Value),
            flag(f.optSBSSameTop.Value),     flag(f.optSBSSameBottom.Value),
            number(f.chkSBSRightSame.Value), outputType};
}

void ApplyOptions(App& app) {
    MainForm& f = app.form;
    const std::optional<ProgramFlagArray> decoded = DecodeProgramValues(app.ProgramValues);
    if (!decoded) {
        SetDefaults(app);
        return;
    }

    // The paths first, so that handlers run by the following steps see them.
    app.SignatureFilePath = app.SettingValues[9];
    app.VariableFilePath = app.SettingValues[10];
    app.FixedTextFilePath = app.SettingValues[11];

    app.ProgramFlags = *decoded;
    const ProgramFlagArray& v = app.ProgramFlags;

    // Out-of-range numbers are refused by the controls and keep their value;
    // the interval takes its default instead, as a lost width does below.
    f.Slider.Value = v[0] >= f.Slider.Min && v[0] <= f.Slider.Max ? v[0] : kDefaultSlider;
    f.chkClip.Value = v[1];
    f.chkFile.Value = v[2];
    f.chkVar.Value = v[3];
    f.chkFixed.Value = v[4];
    f.chkTray.Value = v[5];
    f.optOrderVF.Value = v[6] != 0;
    if (!f.optOrderVF.Value)
        f.optOrderFF.Value = true;
    f.chkBorder.Value = v[7];
    f.chkSpace.Value = v[8];
    f.optTBLike.Value = v[9] != 0;
    if (!f.optTBLike.Value)
        f.optTBRepeat.Value = true;
    f.optBBLike.Value = v[10] != 0;
    f.optBBRepeat.Value = v[11] != 0;
    f.optBBSame.Value = v[12] != 0;
    f.optSBSRightLike.Value = v[13] != 0;
    f.optSBSSepNone.Value = v[14] != 0;
    f.optSBSBlankLine.Value = v[15] != 0;
    f.optSBSSameTop.Value = v[16] != 0;
    f.optSBSSameBottom.Value = v[17] != 0;
    f.chkSBSRightSame.Value = v[18];

    switch (v[19]) {
        case 1:
            f.optText.Value = true;
            break;
        case 2:
            f.optHTML.Value = true;
            break;
        case 3:
            f.optRTF.Value = true;
            break;
        default:
            break;
    }

    const auto& s = app.SettingValues;
    SetChoiceOrDefault(f.cmbFixWidth, s[0], kDefaultWidth);
    f.txtTBLike.Text = TrimBlanks(s[1]);
    f.txtTBRepeat.Text = s[2];
    SetChoiceOrDefault(f.cmbWidth, s[3], kDefaultWidth);
    f.txtBBLike.Text = s[4];
    f.txtBBRepeat.Text = s[5];
    f.txtSBSLeftLike.Text = s[6];
    SetChoiceOrDefault(f.cmbSBSIndent, s[7], kDefaultIndent);
    f.txtSBSRightLike.Text = s[8];

    // Setting the repeat text selects "Repeat" through its change handling;
    // the stored top-border choice must win.
    if (v[9] != 0)
        f.optTBLike.Value = true;
}

}  // namespace velmo
