#include "settings/settings_store.h"

#include "core/app.h"
#include "settings/options.h"
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
    try {
        return app.ports.settings.SetValue(keyPath, name, text);
    } catch (const StoreFailure& failure) {
        ReportFailure(app, failure, kTryAgain);
        return false;
    }
}

void ReadSettings(App& app) {
    bool opened = false;
    try {
        opened = app.ports.settings.KeyExists(Text(UserKey));
        app.firstStart = !opened;
    } catch (const StoreFailure& failure) {
        // The store could not be read at all: the reader's failure.
        ReportFailure(app, failure, kCorrupt);
    }
    if (opened) {
        ReadSettingValues(app);
        return;
    }
    CreateSettingsKey(app, U"Freeware\\");
    SetDefaults(app);
}

void ReadSettingValues(App& app) {
    SettingsStorePort& store = app.ports.settings;
    const Text key(SettingsKey);
    try {
        if (!store.KeyExists(key))
            return;
        for (int index = 0;; ++index) {
            const std::optional<StoredValue> listed = store.ValueAt(key, index);
            if (!listed)
                break;
            const Text text = QueryStringValue(app, key, listed->name, U"Not Found");
            // Names match exactly, letter case included.
            if (listed->name == StoredValueNames[0]) {
                app.ProgramValues = text;
            } else if (listed->name == StoredValueNames[2]) {
                app.SettingValues[1] = TrimBlanks(text);
            } else {
                for (size_t slot = 0; slot < app.SettingValues.size(); ++slot) {
                    if (listed->name == StoredValueNames[slot + 1])
                        app.SettingValues[slot] = text;
                }
            }
        }
    } catch (const StoreFailure& failure) {
        ReportFailure(app, failure, kCorrupt);
        SetDefaults(app);
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

    const Text key(SettingsKey);
    bool exists = false;
    try {
        exists = app.ports.settings.KeyExists(key);
    } catch (const StoreFailure&) {
        // An unreadable store is kept aside by the store; the save starts afresh.
    }
    // A missing key is created rather than losing the user's changes.
    if (!exists && !CreateSettingsKey(app, U"Freeware\\"))
        return;

    // After a failure (reported once) the rest would fail the same way.
    if (!SetStringValue(app, key, Text(StoredValueNames[0]), packed))
        return;
    for (size_t slot = 0; slot < s.size(); ++slot) {
        if (!SetStringValue(app, key, Text(StoredValueNames[slot + 1]), s[slot]))
            return;
    }
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
