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
    const Text number = (failure.number >= 0 ? U" " : U"") + ToText(failure.number);
    app.ports.messages.Show(
        U"ERROR #" + number + U" : " + FromUtf8(failure.description) + U"\r" + Text(consequence),
        message::Notice, Text());
}

// Store operations that tell the user of the store's failures themselves:
// their callers have nothing more to say.
void CreateSettingsKey(App& app, const Text& subkey) {
    const StoreResult<bool> created = app.ports.settings.CreateKey(Text(UserKey) + subkey);
    if (!created.has_value())
        ReportFailure(app, created.error(), kTryAgain);
}

}  // namespace

void SetStringValues(App& app, const Text& keyPath, const std::vector<StoredValue>& values) {
    // A corrupt store is kept aside by the store; once more into a new one.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const StoreResult<bool> written = app.ports.settings.SetValues(keyPath, values);
        if (written.has_value())
            return;
        const bool corrupt = written.error().number == StoreFailure::kCorrupt;
        ReportFailure(app, written.error(), corrupt ? kSavedAfresh : kTryAgain);
        if (!corrupt)
            return;
    }
}

std::optional<StoredSettings> ReadSettings(App& app) {
    SettingsStorePort& store = app.ports.settings;
    // The settings key lies below the user key: when it is there, one
    // read of the store is all.
    const StoreResult<std::optional<std::vector<StoredValue>>> values =
        store.Values(Text(SettingsKey));
    if (values.has_value() && *values) {
        StoredSettings stored;
        ReadStoredValues(**values, stored);
        return stored;
    }
    // A user key without the settings key holds nothing to read.
    const StoreResult<bool> userKey =
        values.has_value() ? store.KeyExists(Text(UserKey)) : StoreResult<bool>(values.error());
    if (userKey.has_value()) {
        if (*userKey)
            return std::nullopt;
        app.firstStart = true;
    } else if (userKey.error().number == StoreFailure::kUnreadable) {
        // The store holds the user's options, unread: it is left alone.
        ReportFailure(app, userKey.error(), kLeftAsItIs);
        SetDefaults(app);
        return std::nullopt;
    } else {
        // A corrupt store was kept aside; a new one starts with the keys.
        ReportFailure(app, userKey.error(), kCorrupt);
    }
    CreateSettingsKey(app, U"Freeware\\");
    SetDefaults(app);
    return std::nullopt;
}

void SaveSettings(App& app) {
    const SignatureOptions options = ReadOptions(app.form);
    if (!Included(options.fixedPart))
        app.session.fixedTextPath.clear();
    const std::vector<StoredValue> values = EncodeOptions(
        options, app.session.signaturePath, app.session.quoteListPath, app.session.fixedTextPath);
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
