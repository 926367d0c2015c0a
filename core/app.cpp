#include "core/app.h"

#include "core/schedule.h"
#include "core/startup.h"
#include "output/clipboard_copies.h"
#include "output/output_selection.h"
#include "settings/settings_store.h"
#include "sources/fixed_text.h"
#include "sources/variable_file.h"
#include "ui/about.h"
#include "ui/border_options.h"
#include "ui/entry_editor.h"
#include "ui/tray.h"
#include "ui/window.h"

namespace velmo {

App::App(Ports platform) : ports(platform) {
    ConnectFixedTextHandlers(*this);
    ConnectVariableFileHandlers(*this);
    ConnectOutputHandlers(*this);
    ConnectClipboardHandlers(*this);
    ConnectSettingsHandlers(*this);
    ConnectScheduleHandlers(*this);
    ConnectShutdownHandlers(*this);
    ConnectEntryEditorHandlers(*this);
    ConnectBorderHandlers(*this);
    ConnectTrayHandlers(*this);
    ConnectAboutHandlers(*this);
    ConnectWindowHandlers(*this);
}

}  // namespace velmo
