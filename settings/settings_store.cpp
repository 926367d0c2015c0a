#include "settings/settings_store.h"

#include "core/app.h"
#include "settings/options.h"
#include "settings/reg_document.h"
#include "sources/fixed_text.h"

namespace velmo {

const std::array<TextView, 13> StoredValueNames = {
    U"Program Values",  U"Fixed width",      U"Top text like",      U"Top text repeat",
    U"Signature width", U"Bottom text like", U"Bottom text repeat", U"Left text like",
    U"Indent",          U"Right text like",  U"Signature File",     U"Variable File",
    U"Fixed text File",
};

namespace {

constexpr TextView kCorrupt = U"Your Account data is corrupt";
constexpr TextView kTryAgain = U"Please exit and try again.";
constexpr TextView kLeftAsItIs =
    U"The default options are used, and nothing is written over the file.";
constexpr TextView kSavedAfresh = U"The options are saved in a new file.";

void ReportFailure(App& app, const StoreFailure& failure, TextView consequence) {
    // A non-negative number has a blank in its sign's place: "ERROR # 5".
    const Text number = (failure.number() >= 0 ? U" " : U"") + ToText(failure.number());
    app.ports.messages.Show(
        U"ERROR #" + number + U" : " + FromUtf8(failure.what()) + U"\r" + Text(consequence),
        msgbox::OkOnly, Text());
}

}  // namespace

bool CreateSettingsKey(App& app, const Text& subkey) {
    try {
        return app.ports.settings.CreateKey(Text(UserKey) + subkey);
    } catch (const StoreFailure& failure) {
        ReportFailure(app, failure, kTryAgain);
        return false;
    }
}

Text QueryStringValue(App& app, const Text& keyPath, const Text& name, const Text& defaultText) {
    try {
        return app.ports.settings.QueryValue(keyPath, name).value_or(defaultText);
    } catch (const StoreFailure& failure) {
        ReportFailure(app, failure, kTryAgain);
        return {};
    }
}

bool SetStringValue(App& app, const Text& keyPath, const Text& name, const Text& text) {
    return SetStringValues(app, keyPath, {{name, text}});
}

bool SetStringValues(App& app, const Text& keyPath, const std::vector<StoredValue>& values) {
    const auto write = [&](bool& corrupt) {
        try {
            return app.ports.settings.SetValues(keyPath, values);
        } catch (const StoreFailure& failure) {
            corrupt = failure.number() == StoreFailure::kCorrupt;
            ReportFailure(app, failure, corrupt ? kSavedAfresh : kTryAgain);
            return false;
        }
    };
    bool corrupt = false;
    if (write(corrupt))
        return true;
    // The corrupt store is now kept aside; once more into a new one.
    bool again = false;
    return corrupt && write(again);
}

void ReadSettings(App& app) {
    SettingsStorePort& store = app.ports.settings;
    try {
        // The settings key lies below the user key: when it is there, one
        // read of the store is all.
        if (const std::optional<std::vector<StoredValue>> values =
                store.Values(Text(SettingsKey))) {
            ReadSettingValues(app, *values);
            return;
        }
        // A user key without the settings key holds nothing to read.
        if (store.KeyExists(Text(UserKey)))
            return;
        app.firstStart = true;
    } catch (const StoreFailure& failure) {
        if (failure.number() == StoreFailure::kUnreadable) {
            // The store holds the user's options, unread: it is left alone.
            ReportFailure(app, failure, kLeftAsItIs);
            SetDefaults(app);
            return;
        }
        // A corrupt store was kept aside; a new one starts with the keys.
        ReportFailure(app, failure, kCorrupt);
    }
    CreateSettingsKey(app, U"Freeware\\");
    SetDefaults(app);
}

void ReadSettingValues(App& app, const std::vector<StoredValue>& values) {
    std::array<Text, StoredValueNames.size()> folded;
    for (size_t i = 0; i < folded.size(); ++i)
        folded[i] = FoldCase(StoredValueNames[i]);
    // A name of the same spelling wins over one in other letter case (only a
    // hand-edited file holds both), and the first of either over later ones.
    enum Match { kNone, kOtherCase, kExact };
    std::array<Match, StoredValueNames.size()> found{};
    for (const StoredValue& value : values) {
        const Text name = FoldCase(value.name);
        for (size_t i = 0; i < folded.size(); ++i) {
            if (name != folded[i])
                continue;
            const Match match = value.name == StoredValueNames[i] ? kExact : kOtherCase;
            if (match <= found[i])
                break;
            found[i] = match;
            if (i == 0) {
                app.ProgramValues = value.text;
            } else if (i == 2) {
                app.SettingValues[1] = TrimBlanks(value.text);
            } else {
                app.SettingValues[i - 1] = value.text;
            }
            break;
        }
    }
}

void SaveSettings(App& app) {
    const MainForm& f = app.form;
    app.ProgramFlags = CollectProgramFlags(app);
    const Text packed = EncodeProgramValues(app.ProgramFlags);
    if (f.chkFixed.Value == 0)
        app.FixedTextFilePath.clear();

    auto& s = app.SettingValues;
    s[0] = f.cmbFixWidth.Text;
    s[1] = f.txtTBLike.Text;
    s[2] = f.txtTBRepeat.Text;
    s[3] = f.cmbWidth.Text;
    s[4] = f.txtBBLike.Text;
    s[5] = f.txtBBRepeat.Text;
    s[6] = f.txtSBSLeftLike.Text;
    s[7] = f.cmbSBSIndent.Text;
    s[8] = f.txtSBSRightLike.Text;
    s[9] = app.SignatureFilePath;
    s[10] = app.VariableFilePath;
    s[11] = app.FixedTextFilePath;

    std::vector<StoredValue> values;
    values.reserve(StoredValueNames.size());
    values.push_back({Text(StoredValueNames[0]), packed});
    for (size_t slot = 0; slot < s.size(); ++slot)
        values.push_back({Text(StoredValueNames[slot + 1]), s[slot]});
    // All in one write, so that a failure leaves every old value; a missing
    // key is created rather than losing the user's changes.
    SetStringValues(app, Text(SettingsKey), values);
}

void SaveSettingsButton_Click(App& app) {
    SaveSettings(app);
    if (app.form.chkFixed.Value == 1)
        SaveFixedText(app);
}

void ConnectSettingsHandlers(App& app) {
    MainForm& f = app.form;
    for (CommandButton* button :
         {&f.btnSaveSett, &f.btnSaveSett2, &f.cmdSave2, &f.cmdSave3, &f.cmdSave4}) {
        button->Click += [&app] { SaveSettingsButton_Click(app); };
    }
}

}  // namespace velmo
