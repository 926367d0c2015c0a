#include "core/app.h"

#include "output/clipboard_copies.h"
#include "output/output_selection.h"
#include "sources/fixed_text.h"
#include "sources/variable_file.h"

namespace velmo {

App::App(Ports platform) : ports(platform) {
    ConnectFixedTextHandlers(*this);
    ConnectVariableFileHandlers(*this);
    ConnectOutputHandlers(*this);
    ConnectClipboardHandlers(*this);
}

}  // namespace velmo
