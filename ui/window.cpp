#include "ui/window.h"

#include "core/app.h"
#include "ui/about.h"

namespace velmo {

namespace {

Text Number(int n) {
    return ToText(n);
}

}  // namespace

Text DescriptionText() {
    const Text paragraphs[] = {
        U"Velmo is free. It was written for people who like a fresh quotation under every mail "
        U"they send, without having to think about it.",
        U"All rights to Velmo have passed to its maker, Velmo Software.",
        U"Copyright (C) 2026 Velmo Software. Velmo may be used and passed on free of charge.",
        U"Revised: 6 December 2026. Please report any fault you find to " + Text(MailAddress) +
            U".",
    };
    Text out;
    for (const Text& p : paragraphs) {
        if (!out.empty())
            out += U"\r\n\r\n";
        out += p;
    }
    return out;
}

void Form_Load(App& app) {
    MainForm& f = app.form;
    f.Tabs.Tab = 0;
    const int major = VELMO_VERSION_MAJOR;
    const int minor = VELMO_VERSION_MINOR;
    const int revision = VELMO_VERSION_PATCH;
    f.lblVersion.Caption =
        U"Version " + Number(major) + U"." + Number(minor) + U"." + Number(revision);
    f.Caption = U"Velmo - " + Number(major) + U"." + Number(minor) + Number(revision);
    f.lblDescription.Caption = DescriptionText();
    app.ports.icon.Add(f.Icon, U"Velmo");
    f.Hide();
    // Enabled states and the interval label as the values say. The slider
    // goes first: its caption would otherwise cover the "<< Disabled >>" that
    // an unchecked variable part puts there.
    f.Slider.Change();
    f.chkVar.Click();
    f.chkFixed.Click();
}

void txtSignature_KeyPress(App&, int& keyAscii) {
    keyAscii = 0;
}

void ConnectWindowHandlers(App& app) {
    app.form.txtSignature.KeyPress += [&app](int& key) { txtSignature_KeyPress(app, key); };
}

}  // namespace velmo
