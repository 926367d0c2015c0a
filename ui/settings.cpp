#include "ui/settings.h"

#include "ui/app.h"
#include "ui/fixed_text.h"
#include "ui/options.h"

namespace velmo {

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
        message::Notice, Text());
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
    StoredSettings stored{app.ProgramValues, app.SettingValues};
    ReadStoredValues(values, stored);
    app.ProgramValues = std::move(stored.programValues);
    app.SettingValues = std::move(stored.texts);
}

void SaveSettings(App& app) {
    const SignatureOptions options = ReadOptions(app.form);
    if (!Included(options.fixedPart))
        app.FixedTextFilePath.clear();
    const std::vector<StoredValue> values =
        EncodeOptions(options, app.SignatureFilePath, app.QuoteListPath, app.FixedTextFilePath);
    for (size_t slot = 0; slot < app.SettingValues.size(); ++slot)
        app.SettingValues[slot] = values[slot + 1].text;
    // All in one write, so that a failure leaves every old value; a missing
    // key is created rather than losing the user's changes.
    SetStringValues(app, Text(SettingsKey), values);
}

void cmdSaveSettings_Click(App& app) {
    SaveSettings(app);
    if (SwitchedOn(app.form.chkFixedPart.Value))
        SaveFixedText(app);
}

void ConnectSettingsHandlers(App& app) {
    MainForm& f = app.form;
    for (CommandButton* button :
         {&f.cmdSaveSettingsFixed, &f.cmdSaveSettingsVariable, &f.cmdSaveSettingsBorders,
          &f.cmdSaveSettingsSideBorders, &f.cmdSaveSettingsOptions}) {
        button->Click += [&app] { cmdSaveSettings_Click(app); };
    }
}

}  // namespace velmo
