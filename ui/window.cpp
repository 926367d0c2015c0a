#include "ui/window.h"

#include "core/app.h"

namespace velmo {

namespace {

Text Number(int n) { return ToText(n); }

}  // namespace

void Form_Load(App& app) {
    MainForm& f = app.form;
    f.Tabs.Tab = 0;
    const int major = VELMO_VERSION_MAJOR;
    const int minor = VELMO_VERSION_MINOR;
    const int revision = VELMO_VERSION_PATCH;
    f.lblVersion.Caption = U"Version " + Number(major) + U"." + Number(minor) + U"." + Number(revision);
    f.Caption = U"Velmo - " + Number(major) + U"." + Number(minor) + Number(revision);
    app.ports.icon.Add(f.Icon, U"Velmo");
    f.Hide();
    f.chkVar.Click();
    f.chkFixed.Click();
    f.Slider.Change();
}

}  // namespace velmo
