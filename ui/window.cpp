#include "ui/window.h"

#include <algorithm>

#include "domain/desktop_entry.h"
#include "platform/path_style.h"
#include "ui/about.h"
#include "ui/app.h"

namespace velmo {

namespace {

Text Number(int n) {
    return ToText(n);
}

// Desktop entries are a few kilobytes, translations and all.
constexpr size_t kAutostartReadLimit = size_t{1} << 20;

// The entry to write or remove; empty where the desktop has none, or the
// program cannot name its own file for it to start.
Text AutostartPath(App& app) {
    if (app.ports.program.ProgramFile().empty())
        return {};
    return app.ports.program.AutostartFile();
}

bool AutostartOn(App& app, const Text& entry) {
    const FileBytes bytes = app.ports.files.Read(entry, kAutostartReadLimit);
    return bytes.has_value() && AutostartEntryOn(*bytes);
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
    // A named profile says which it is, in the caption and on the icon.
    const Text profile = app.ports.program.ProfileName();
    const Text name = profile.empty() ? Text(U"Velmo") : U"Velmo (" + profile + U")";
    f.Caption = name + U" - " + Number(major) + U"." + Number(minor) + Number(revision);
    f.lblDescription.Caption = DescriptionText();
    app.ports.icon.Add(f.Icon, name);
    f.Hide();
    // Enabled states and the interval label as the values say. The slider
    // goes first: its caption would otherwise cover the "<< Disabled >>" that
    // an unchecked variable part puts there.
    f.sldChangeInterval.Change();
    f.chkVariablePart.Click();
    f.chkFixedPart.Click();
}

namespace {

// The signature preview on the Variable tab takes no typing.
void txtPreviewVariable_KeyPress(App&, int& keyAscii) {
    keyAscii = 0;
}

}  // namespace

void ShowAutostart(App& app) {
    CheckBox& box = app.form.chkAutostart;
    const Text entry = AutostartPath(app);
    if (entry.empty()) {
        const std::optional<ProgramPort::StartList> list = app.ports.program.DesktopStartList();
        box.Visible = list.has_value();
        if (list)
            box.Value = list->on ? Check::On : Check::Off;
        return;
    }
    box.Visible = true;
    box.Value = AutostartOn(app, entry) ? Check::On : Check::Off;
}

namespace {

// The desktop's own list of programs to start: the program goes on it or
// off it. A failure is told and the box shows the list as it is.
void SwitchDesktopStartList(App& app, bool wanted) {
    CheckBox& box = app.form.chkAutostart;
    const std::optional<ProgramPort::StartList> list = app.ports.program.DesktopStartList();
    // Nothing to do when the box was only set to show the list as it is.
    if (!list || wanted == list->on)
        return;
    const FileResult changed = app.ports.program.SetOnDesktopStartList(wanted);
    if (changed)
        return;
    box.Value = list->on ? Check::On : Check::Off;
    app.ports.messages.Show((wanted ? U"Unable to write the autostart entry"
                                    : U"Unable to remove the autostart entry") +
                                Text(CrLf) + list->place + Text(CrLf) + FromUtf8(changed.Message()),
                            message::Warning, U"Start with the Desktop");
}

// Writes the entry when the box is ticked and removes it when it is cleared;
// an entry of the user's own is switched on or off instead.
// A failure is told to the user and the box shows the entry as it is.
void chkAutostart_Click(App& app) {
    CheckBox& box = app.form.chkAutostart;
    const Text entry = AutostartPath(app);
    const bool wanted = SwitchedOn(box.Value);
    if (entry.empty()) {
        SwitchDesktopStartList(app, wanted);
        return;
    }
    // Nothing to do when the box was only set to show the entry as it is.
    if (wanted == AutostartOn(app, entry))
        return;
    const auto fail = [&](TextView what, const Text& path, const FileResult& result) {
        // The box shows the entry as it is before the user reads why.
        box.Value = AutostartOn(app, entry) ? Check::On : Check::Off;
        app.ports.messages.Show(
            Text(what) + Text(CrLf) + path + Text(CrLf) + FromUtf8(result.Message()),
            message::Warning, U"Start with the Desktop");
    };
    const FileBytes read = app.ports.files.Read(entry, kAutostartReadLimit);
    if (!read.has_value() && !read.error().Missing()) {
        fail(U"Unable to read the autostart entry", entry, read.error());
        return;
    }
    const std::optional<std::string> found =
        read.has_value() ? std::optional<std::string>(*read) : std::nullopt;
    // An entry of the user's own is switched, never replaced or removed: its
    // Exec, translations and start delay are theirs.
    const std::string profile = ToUtf8(app.ports.program.ProfileName());
    const bool own = found && OwnAutostartEntry(*found, profile);
    const bool entryOfTheirs = found && !own && HasDesktopEntryGroup(*found);
    // A link holds nothing of the user's but itself, and what it leads to,
    // an installed program's entry say, is not switched off for everyone.
    if (!wanted && (!entryOfTheirs || app.ports.files.IsLink(entry))) {
        // Only the entry itself goes: a link, never the file it leads to.
        const FileResult removed = app.ports.files.Remove(entry);
        if (!removed && !removed.Missing())
            fail(U"Unable to remove the autostart entry", entry, removed);
        return;
    }
    const Text program = app.ports.program.ProgramFile();
    // A desktop entry is UTF-8 text: no Exec key can name a program file
    // whose path has other bytes. The user's own entry keeps its own Exec.
    if (!entryOfTheirs && HasForeignBytes(program)) {
        box.Value = AutostartOn(app, entry) ? Check::On : Check::Off;
        app.ports.messages.Show(
            U"Unable to write the autostart entry" + Text(CrLf) + entry + Text(CrLf) +
                U"The program's path is not UTF-8, which a desktop entry "
                U"cannot hold:" +
                Text(CrLf) + program + Text(CrLf) + U"Keep Velmo in a folder whose name is UTF-8.",
            message::Warning, U"Start with the Desktop");
        return;
    }
    const Text folder = ContainingFolder(entry, NativePathStyle());
    if (const FileResult made = app.ports.files.MakeFolders(folder); !made) {
        fail(U"Unable to make the autostart folder", folder, made);
        return;
    }
    const FileResult written =
        app.ports.files.Replace(entry, entryOfTheirs ? SwitchAutostartEntry(*found, wanted)
                                                     : AutostartEntry(program, profile));
    if (!written)
        fail(U"Unable to write the autostart entry", entry, written);
}

}  // namespace

void ConnectWindowHandlers(App& app) {
    app.form.txtPreviewVariable.KeyPress +=
        [&app](int& key) { txtPreviewVariable_KeyPress(app, key); };
    app.form.chkAutostart.Click += [&app] { chkAutostart_Click(app); };
}

}  // namespace velmo
