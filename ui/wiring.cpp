// The window's wiring: each control's events connected to their handlers.
// The one file that knows every handler; the handlers know only App.

#include "ui/app.h"

#include "ui/about.h"
#include "ui/border_options.h"
#include "ui/clipboard_copies.h"
#include "ui/entry_editor.h"
#include "ui/fixed_text.h"
#include "ui/output_selection.h"
#include "ui/quote_list_file.h"
#include "ui/schedule.h"
#include "ui/settings.h"
#include "ui/startup.h"
#include "ui/tray.h"
#include "ui/window.h"

namespace velmo {

App::App(Ports platform)
    : ports(platform), session({platform.files, platform.program, platform.random}) {
    ConnectFixedTextHandlers(*this);
    ConnectQuoteListHandlers(*this);
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
