#include "ui/model/main_form.h"

namespace velmo {

// The design-time caption; loading the window replaces it with one that
// carries the version.
MainForm::MainForm() {
    Caption = U"Velmo";
}

}  // namespace velmo
