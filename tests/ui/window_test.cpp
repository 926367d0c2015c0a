#include "ui/window.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "domain/desktop_entry.h"
#include "domain/file_address.h"
#include "platform/path_style.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "support/text_helpers.h"
#include "ui/about.h"
#include "ui/model/main_form.h"
#include "ui/options.h"
#include "ui/schedule.h"
#include "ui/signature.h"
#include "ui/startup.h"
#include "ui/tray.h"

namespace velmo {
namespace {

class WindowTest : public ::testing::Test, protected testing::TestApp {
  protected:
    MainForm& form = app.form;
};

// The window starts hidden with its icon added; the editors and the schedule
// follow their unticked boxes.
TEST_F(WindowTest, LoadPreparesTheHiddenWindow) {
    Form_Load(app);
    EXPECT_EQ(icon.adds, 1);
    EXPECT_FALSE(form.Visible || form.txtEntry.Enabled || form.sldChangeInterval.Enabled ||
                 form.txtFixedText.Enabled);
    EXPECT_EQ(form.lblChangeInterval.Caption.get(), U"<< Disabled >>");
    EXPECT_EQ(form.sldChangeInterval.Tag.get(), U"0");
}

// A link looks hovered from the pointer's first move over it until the
// pointer reaches the page's background; a click opens what it shows.
TEST_F(WindowTest, AboutLinksLookHoveredUntilThePointerReachesThePage) {
    enum Look { Design, Hovered, Plain };
    const auto look = [](const Label& link) {
        if (link.FontUnderline && link.ForeColor.get() == colors::Blue)
            return Hovered;
        return !link.FontUnderline && link.ForeColor.get() == colors::Black ? Plain : Design;
    };
    const auto moveOver = [&](Control& over, Look email, Look homePage) {
        over.MouseMove(0, 0, 120, 60);
        EXPECT_EQ(look(form.lblMailAddress), email) << over.Name;
        EXPECT_EQ(look(form.lblHomePage), homePage) << over.Name;
    };
    moveOver(form.lblMailAddress, Hovered, Design);
    moveOver(form.lblHomePage, Hovered, Hovered);
    moveOver(form.lblVersion, Hovered, Hovered);
    moveOver(form.Tabs, Plain, Plain);
    form.lblMailAddress.Click();
    form.lblHomePage.Click();
    EXPECT_EQ(browser.opened, (std::vector<Text>{U"mailto:" + form.lblMailAddress.Caption.get(),
                                                 form.lblHomePage.Caption.get()}));
    EXPECT_EQ(browser.opened[1], U"https://velmo.example.org/");
}

// The signature, as the layout makes it from the form's options, goes to the
// four previews, to the file while file output is on and to the clipboard only
// while its box is ticked; the editor shows the entry at CurrentEntry.
TEST_F(WindowTest, BuildSignatureComposesFromTheFormAndPublishesEverywhere) {
    SetDefaults(app);
    form.chkSignatureFile.Value = Check::On;
    app.session.signaturePath = U"/mail/signature.txt";
    app.session.quoteList.Entries[1] = U"picked";
    app.session.Pick(1);
    app.session.quoteList.Entries[2] = U"shown";
    app.session.quoteList.EntryCount = app.session.quoteList.CurrentEntry = 2;
    form.txtFixedText.Text = U"me";
    form.chkFixedPart.Value = Check::On;
    form.optFixedFirst.Value = true;
    form.chkBorder.Value = Check::Off;
    for (const int clip : {0, 1}) {
        form.chkClipboard.Value = static_cast<Check>(clip);
        BuildSignature(app);
        EXPECT_EQ(app.session.Signature(), testing::Lines({U"me", U"picked", U""}));
        EXPECT_EQ(files.writes, 1 + clip);  // a write at every build
        EXPECT_EQ(clipboard.texts, std::vector<Text>(clip, app.session.Signature()));
        for (TextBox* preview :
             {&form.txtPreviewVariable, &form.txtPreviewFixed, &form.txtPreviewBorders,
              &form.txtPreviewSideBorders, &form.txtEntry})
            EXPECT_EQ(preview->Text.get(),
                      preview == &form.txtEntry ? U"shown" : app.session.Signature());
    }
}

// The box shows the entry found at start; ticking writes it, clearing removes
// it; an entry of the user's own is switched on or off in place, their lines
// kept. A failure is told and the box shows the entry as it is. Without a
// program file or an autostart folder the box is hidden and does nothing.
TEST(AutostartBoxTest, FollowsAndSwitchesTheEntry) {
    const Text entry = testing::Rooted(U"home/test/.config/autostart/velmo.desktop");
    const std::string ours = AutostartEntry(testing::Rooted(U"opt/velmo/velmo"));
    const std::string mine =
        "[Desktop Entry]\r\nExec=velmo --mine\r\nName[de]=Velmo\r\nX-GNOME-Autostart-Delay=30\r\n";
    const std::string mineOff =
        "[Desktop Entry]\r\nHidden=true\r\nExec=velmo --mine\r\nName[de]=Velmo\r\n"
        "X-GNOME-Autostart-Delay=30\r\n";
    const std::string off =
        "# Hidden=true\n[Desktop Entry]\nExec=velmo\n Hidden = "
        "true\nX-GNOME-Autostart-enabled=false\n"
        "[Desktop Action a]\nHidden=true";
    const std::string on =
        "# Hidden=true\n[Desktop Entry]\nExec=velmo\nHidden=false\nX-GNOME-Autostart-enabled=true\n"
        "[Desktop Action a]\nHidden=true";
    const auto denied = std::make_error_code(std::errc::permission_denied);
    using testing::FakeProgram;
    const struct {
        std::optional<std::string> before, after;  // the entry around the click
        int click;
        std::error_code failure;
        Text FakeProgram::*missing = nullptr;
        bool link = false;  // to an entry of the system's
    } rows[] = {
        {std::nullopt, ours, 1, {}},
        {ours, std::nullopt, 0, {}},
        {AutostartEntry(U"/old/velmo"), std::nullopt, 0, {}},
        {mine, mineOff, 0, {}},
        {mineOff,
         "[Desktop Entry]\r\nHidden=false\r\nExec=velmo --mine\r\nName[de]=Velmo\r\n"
         "X-GNOME-Autostart-Delay=30\r\n",
         1,
         {}},
        {off, on, 1, {}},
        {on,
         "# Hidden=true\n[Desktop Entry]\nExec=velmo\nHidden=true\nX-GNOME-Autostart-enabled=true\n"
         "[Desktop Action a]\nHidden=true",
         0,
         {}},
        {"[Desktop Entry]", "[Desktop Entry]\nHidden=true\n", 0, {}},
        {"not an entry", ours, 1, {}},
        {"[Desktop Entry]\nExec=velmo\n", std::nullopt, 0, {}, nullptr, true},
        {std::nullopt, std::nullopt, 1, denied},
        {ours, ours, 0, denied},
        {std::nullopt, std::nullopt, 1, {}, &FakeProgram::programFile},
        {std::nullopt, std::nullopt, 1, {}, &FakeProgram::autostartFile},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(&row - rows));
        testing::TestApp t;
        if (row.before)
            t.files.files[entry] = *row.before;
        if (row.missing)
            t.program.*row.missing = Text();
        if (row.link)
            t.files.aliases[entry] = U"/usr/share/applications/velmo.desktop";
        ASSERT_TRUE(Main(t.app));
        EXPECT_EQ(t.app.form.chkAutostart.Visible.get(), row.missing == nullptr);
        EXPECT_EQ(t.app.form.chkAutostart.Value.get(),
                  row.before && AutostartEntryOn(*row.before) ? Check::On : Check::Off);
        if (row.failure)
            t.files.failWrites[entry] = row.failure;
        const size_t files = t.files.files.size();

        t.app.form.chkAutostart.Value = static_cast<Check>(row.click);

        EXPECT_EQ(static_cast<int>(t.app.form.chkAutostart.Value.get()),
                  row.missing                                 ? row.click
                  : row.after && AutostartEntryOn(*row.after) ? 1
                                                              : 0);
        EXPECT_EQ(t.files.Exists(entry) ? std::optional(t.files.files[entry]) : std::nullopt,
                  row.after);
        if (row.missing) {
            EXPECT_EQ(t.files.files.size(), files);
        }
        EXPECT_EQ(t.messages.shown.size(), row.failure ? 1u : 0u);
    }
}

// A named profile writes its own entry, which starts the program with the
// profile, and removes it again.
TEST(AutostartBoxTest, AProfileWritesAnEntryOfItsOwn) {
    testing::TestApp t;
    t.program.profileName = U"work";
    const Text entry = t.program.autostartFile;
    const std::string work = AutostartEntry(t.program.programFile, "work");
    ASSERT_TRUE(Main(t.app));
    t.app.form.chkAutostart.Value = Check::On;
    EXPECT_EQ(t.files.files[entry], work);
    t.app.form.chkAutostart.Value = Check::Off;
    EXPECT_FALSE(t.files.Exists(entry));
}

// Where the desktop keeps its own list of programs to start, the box shows
// and switches the program's place on it; a refusal is told and the box
// shows the list as it is.
TEST(AutostartBoxTest, FollowsAndSwitchesTheDesktopsList) {
    const FileResult denied{std::make_error_code(std::errc::permission_denied)};
    struct Row {
        bool before;
        bool click;
        FileResult failure;
        bool after;
    } rows[] = {
        {false, true, {}, true},      {true, false, {}, false},    {true, true, {}, true},
        {false, true, denied, false}, {true, false, denied, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(&row - rows));
        testing::TestApp t;
        t.program.autostartFile.clear();
        t.program.startList = ProgramPort::StartList{U"Run, value \"Velmo\"", row.before};
        ASSERT_TRUE(Main(t.app));
        EXPECT_TRUE(t.app.form.chkAutostart.Visible.get());
        EXPECT_EQ(t.app.form.chkAutostart.Value.get(), row.before ? Check::On : Check::Off);
        t.program.startListFailure = row.failure;

        t.app.form.chkAutostart.Value = row.click ? Check::On : Check::Off;

        EXPECT_EQ(t.program.startList->on, row.after);
        EXPECT_EQ(t.app.form.chkAutostart.Value.get(), row.after ? Check::On : Check::Off);
        ASSERT_EQ(t.messages.shown.size(), row.failure.error ? 1u : 0u);
        if (row.failure.error) {
            EXPECT_NE(t.messages.shown[0].text.find(U"Run, value \"Velmo\""), Text::npos);
        }
        EXPECT_TRUE(t.files.files.empty() || !t.files.Exists(t.program.autostartFile));
    }
    // Neither an entry file nor a list: no box.
    testing::TestApp t;
    t.program.autostartFile.clear();
    ASSERT_TRUE(Main(t.app));
    EXPECT_FALSE(t.app.form.chkAutostart.Visible.get());
}

// A program in a folder whose name is not UTF-8 cannot be named in a desktop
// entry: ticking writes none, says why, and the box stays clear.
TEST(AutostartBoxTest, NoEntryForAProgramPathThatIsNotUtf8) {
    testing::TestApp t;
    t.program.programFile = FromPathBytes("/opt/caf\xE9/velmo");
    ASSERT_TRUE(Main(t.app));
    t.app.form.chkAutostart.Value = Check::On;
    EXPECT_FALSE(t.files.Exists(t.program.autostartFile));
    EXPECT_EQ(t.app.form.chkAutostart.Value.get(), Check::Off);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_NE(t.messages.shown[0].text.find(t.program.programFile), Text::npos);
}

// A first start: the window is shown, the icon sits in the notification area.
class TrayTest : public WindowTest {
  protected:
    void SetUp() override { ASSERT_TRUE(Main(app)); }

    // The window's state and the menu item that offers the other one.
    void ExpectShown(bool shown) const {
        EXPECT_EQ(form.Visible.get(), shown);
        EXPECT_EQ(form.mnuOpenWindow.Visible.get(), !shown);
        EXPECT_EQ(form.mnuPutOnTray.Visible.get(), shown);
    }
};

// What each kind of notification area reports for what the user does, and
// what comes of it. An XEmbed tray reports a double-click as a single click
// followed by a double one; a StatusNotifier host sends one activation.
TEST_F(TrayTest, ClicksOnTheIconByKindOfNotificationArea) {
    using enum IconClick;
    const struct {
        IconClick openClose;
        std::vector<IconClick> clicks;
        bool toggles;
        int popups;
    } rows[] = {
        {Double, {Single}, false, 0}, {Double, {Single, Double}, true, 0},
        {Double, {Middle}, false, 0}, {Double, {Context}, false, 1},
        {Single, {Single}, true, 0},  {Single, {Context}, false, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(&row - rows));
        form.mnuOpenWindow.Click();
        icon.popups = 0;
        icon.openClose = row.openClose;
        for (IconClick click : row.clicks)
            TrayIconClicked(app, click);
        ExpectShown(!row.toggles);
        EXPECT_EQ(icon.popups, row.popups);
        EXPECT_FALSE(app.TrayBusy);
    }
}

// A menu item chosen runs; events while the menu is open are dropped.
TEST_F(TrayTest, OneMenuAtATimeAndItsItemsRun) {
    icon.onPopup = [&] {
        if (icon.popups > 1)
            return;  // a second menu: the test has failed already
        form.mnuPutOnTray.Click();
        TrayIconClicked(app, IconClick::Context);
        TrayIconClicked(app, IconClick::Double);
    };
    TrayIconClicked(app, IconClick::Context);
    EXPECT_EQ(icon.popups, 1);
    ExpectShown(false);
    EXPECT_FALSE(app.TrayBusy);
    // Help, from the menu or the About tab, opens the guide in the browser;
    // a guide not found, or no browser, is said.
    icon.onPopup = [&] { form.mnuHelp.Click(); };
    TrayIconClicked(app, IconClick::Context);
    EXPECT_EQ(browser.opened, std::vector<Text>{Text(HomePageAddress)});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(U"\"mail-clients.html\", was not found"), Text::npos);
    browser.opened.clear();
    program.helpFile = testing::Rooted(U"opt/velmo/mail-clients.html");
    const Text address = FileAddress(program.helpFile, NativePathStyle());
    TrayIconClicked(app, IconClick::Context);
    form.cmdHelp.Click();
    EXPECT_EQ(browser.opened, (std::vector<Text>{address, address}));
    EXPECT_EQ(messages.shown.size(), 1u);
    browser.refuse = true;
    form.cmdHelp.Click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text,
              U"No program could be started to show the guide\r\n" + program.helpFile);
}

// Every way to the tray hides the window and leaves the icon; every way out
// removes the icon first, saves nothing, and leaves the event loop with no
// pick waiting that would rewrite the signature file meanwhile.
TEST_F(TrayTest, EveryWayToTheTrayAndOut) {
    for (CommandButton* button :
         {&form.cmdTrayMinimizeVariable, &form.cmdTrayMinimizeFixed, &form.cmdTrayMinimizeBorders,
          &form.cmdTrayMinimizeSideBorders, &form.cmdTrayMinimizeOptions}) {
        form.mnuOpenWindow.Click();
        button->Click();
        ExpectShown(false);
        EXPECT_TRUE(icon.shown) << button->Name;
    }
    const int writes = files.writes;
    for (void (*leave)(App&) : {+[](App& a) { a.form.cmdExit.Click(); },
                                +[](App& a) { a.form.mnuQuit.Click(); }, &Form_QueryUnload}) {
        WaitForChange(app);
        ASSERT_TRUE(timer.armed());
        log.calls.clear();
        leave(app);
        EXPECT_EQ(log.calls, (std::vector<std::string>{"icon remove", "quit"}));
        EXPECT_FALSE(timer.armed());
    }
    EXPECT_EQ(files.writes, writes);
}

// While there is a notification icon the window is reached from it and keeps
// off the task bar; without one the task bar is the way back.
TEST_F(TrayTest, OnTheTaskBarOnlyWithoutAnIcon) {
    for (const bool available : {true, false}) {
        icon.available = available;
        EXPECT_EQ(ListedOnTaskBar(app), !available);
    }
}

// A connected handler runs until its connection goes or is disconnected,
// also when an earlier handler of the same call does that; a handler attached
// with += stays.
TEST(EventTest, AConnectionStopsItsHandler) {
    std::string log;
    const auto note = [&log](char name) { return [&log, name](char c) { log += {name, c}; }; };
    auto event = std::make_unique<Event<char>>();
    *event += note('a');
    Connection later;
    Connection first = event->Connect([&](char c) {
        note('b')(c);
        if (c == '2')
            later.Disconnect();
    });
    later = event->Connect(note('c'));
    (*event)('1');
    (*event)('2');
    EXPECT_EQ(log, "a1b1c1a2b2");
    log.clear();
    {
        Connection moved = std::move(first);
        (*event)('3');
        later = event->Connect(note('d'));
        later = event->Connect(note('e'));  // 'd' stops
        (*event)('4');
    }
    (*event)('5');
    EXPECT_EQ(log, "a3b3a4b4e4a5e5");
    // A connection may outlive its event.
    event.reset();
    later.Disconnect();
}

class ControlsTest : public ::testing::Test {
  protected:
    ControlsTest() {
        form.Changed += [this](Control* c, Property p) { notices.emplace_back(c, p); };
    }

    // The number of option buttons selected in each container of option buttons.
    std::map<const Control*, int> SelectedPerGroup() const {
        std::map<const Control*, int> selected;
        for (Control* c : form.Controls()) {
            if (auto* o = c->As<OptionButton>())
                selected[c->Container] += o->Value ? 1 : 0;
        }
        return selected;
    }

    MainForm form;
    std::vector<std::pair<Control*, Property>> notices;
};

// Every option group starts with one choice (frmRightSide's only button is hidden:
// none), and choosing any button from code, a disabled one too, keeps exactly
// that one chosen in its group and leaves the other groups alone. The others
// are cleared, unclicked, before the chosen one's Click runs.
TEST_F(ControlsTest, EveryOptionGroupKeepsOneChoice) {
    std::map<const Control*, int> expected = SelectedPerGroup();
    for (auto& [group, n] : expected)
        EXPECT_EQ(n, group == &form.frmRightSide ? 0 : 1) << group->Name;
    for (Control* c : form.Controls()) {
        if (auto* o = c->As<OptionButton>()) {
            o->Value = true;
            expected[c->Container] = 1;
            EXPECT_EQ(SelectedPerGroup(), expected) << c->Name;
        }
    }
    form.optBottomLike.Value = true;
    int clicks = 0;
    form.optBottomLike.Click += [&] { ++clicks; };
    form.optBottomSameAsTop.Click += [&] { clicks += form.optBottomLike.Value ? 100 : 10; };
    form.optBottomSameAsTop.Value = true;
    EXPECT_EQ(clicks, 10);
}

// The user's click ticks a clear or a greyed box, clears a ticked one, and
// runs the box's Click once.
TEST_F(ControlsTest, AUserClickTicksAGreyedBoxAsAClearOne) {
    using enum Check;
    const std::pair<Check, Check> rows[] = {{Off, On}, {Greyed, On}, {On, Off}};
    for (const auto& [before, after] : rows) {
        CheckBox& box = form.chkClipboard;
        box.Value = before;
        int clicks = 0;
        const Connection counting = box.Click.Connect([&] { ++clicks; });
        box.UserClick();
        EXPECT_EQ(box.Value.get(), after);
        EXPECT_EQ(clicks, 1);
    }
}

TEST_F(ControlsTest, AssignmentsKeepOnlyValidValuesAndReportRealChanges) {
    // Check boxes: unchecked, checked, greyed, and nothing else.
    using enum Check;
    const struct {
        Check start, assigned, expected;
    } checks[] = {{On, Greyed, Greyed}, {Greyed, Off, Off}, {On, static_cast<Check>(3), On}};
    for (const auto& row : checks) {
        SCOPED_TRACE(static_cast<int>(row.assigned));
        form.chkVariablePart.Value = row.start;
        notices.clear();
        form.chkVariablePart.Value = row.assigned;
        EXPECT_EQ(form.chkVariablePart.Value.get(), row.expected);
        EXPECT_EQ(notices.size(), row.start != row.expected ? 1u : 0u);
    }
    // The slider 0 to 8, the tabs 0 to 5.
    const struct {
        Prop<int>* prop;
        int start, assigned, expected;
    } numbers[] = {
        {&form.sldChangeInterval.Value, 0, 9, 0},
        {&form.sldChangeInterval.Value, 0, 8, 8},
        {&form.sldChangeInterval.Value, 8, 0, 0},
        {&form.Tabs.Tab, 0, 6, 0},
        {&form.Tabs.Tab, 5, 0, 0},
    };
    for (const auto& row : numbers) {
        SCOPED_TRACE(row.assigned);
        *row.prop = row.start;
        notices.clear();
        *row.prop = row.assigned;
        EXPECT_EQ(row.prop->get(), row.expected);
        EXPECT_EQ(notices.size(), row.start != row.expected ? 1u : 0u);
    }
    // Combo boxes take one of their items only; text from code is cut to the
    // maximum length, where there is one.
    const Text many(5000, U'x');
    const struct {
        Prop<Text>* prop;
        Text assigned, expected;
    } texts[] = {{&form.cmbPlainWidth.Text, U"100", U"100"},
                 {&form.cmbPlainWidth.Text, U"55", U"100"},
                 {&form.txtTopRepeat.Text, U"12345678", U"123456"},
                 {&form.txtQuoteListPath.Text, many, many}};
    for (const auto& row : texts) {
        *row.prop = row.assigned;
        EXPECT_EQ(row.prop->get(), row.expected) << ToUtf8(row.assigned.substr(0, 9));
    }
}

// Only usable controls take the focus; the old control loses it after the
// new one has it.
TEST_F(ControlsTest, OnlyUsableControlsTakeTheFocus) {
    const std::pair<Control*, bool> cases[] = {
        {&form.chkBlankRows, false},       // disabled itself
        {&form.txtBottomLike, false},      // enabled, but its frame is not
        {&form.optTopLike, false},         // disabled, in a disabled frame
        {&form.dlgSignatureFile, false},   // not visible
        {&form.chkRightSameAsLeft, true},  // enabled, in two enabled frames
        {&form.txtQuoteListPath, true},
    };
    std::string order;
    form.cmdNewEntry.LostFocus +=
        [&] { order += form.ActiveControl() == &form.cmdNewEntry ? "too early " : "lost "; };
    for (const auto& [control, usable] : cases) {
        SCOPED_TRACE(control->Name);
        ASSERT_TRUE(form.cmdNewEntry.SetFocus());
        order.clear();
        control->GotFocus += [&] { order += "got "; };
        notices.clear();
        EXPECT_EQ(control->SetFocus(), usable);
        EXPECT_EQ(control->SetFocus(), usable);  // already active: no events
        EXPECT_EQ(form.ActiveControl(), usable ? control : &form.cmdNewEntry);
        EXPECT_EQ(order, usable ? "got lost " : "");
        EXPECT_EQ(notices.size(), usable ? 1u : 0u);
    }
}

}  // namespace
}  // namespace velmo
