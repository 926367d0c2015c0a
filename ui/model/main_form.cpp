#include "ui/model/main_form.h"

namespace velmo {

// The caption until the window is loaded, which replaces it with one that
// carries the version.
MainForm::MainForm() {
    Caption = U"Velmo";
}

}  // namespace velmo
