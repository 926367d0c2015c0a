#include "ui/tray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/path_style.h"
#include "support/fakes.h"
#include "ui/about.h"
#include "ui/startup.h"

namespace velmo {
namespace {

constexpr int kDoubleClick = 0x203;
constexpr int kRightDown = 0x204;
constexpr int kRightUp = 0x205;

// A first start: the window is shown, the icon sits in the notification area.
class TrayTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override { ASSERT_TRUE(Main(app)); }

    // The window's state and the menu item that offers the other one.
    void ExpectShown(bool shown) const {
        EXPECT_EQ(form.Visible.get(), shown);
        EXPECT_EQ(form.mnuopen.Visible.get(), !shown);
        EXPECT_EQ(form.mnuPut.Visible.get(), shown);
    }

    MainForm& form = app.form;
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
        form.mnuopen.Click();
        icon.popups = 0;
        icon.openClose = row.openClose;
        for (IconClick click : row.clicks)
            TrayIconClicked(app, click);
        ExpectShown(!row.toggles);
        EXPECT_EQ(icon.popups, row.popups);
        EXPECT_FALSE(app.TrayBusy);
    }
}

// The message is the pointer's position in pixels, rounded.
TEST_F(TrayTest, TheMessageIsThePointerPositionRounded) {
    form.MouseMove(0, 0, kDoubleClick * 15 + 7, 0);
    ExpectShown(false);
    form.MouseMove(0, 0, kDoubleClick * 15 - 7, 0);
    ExpectShown(true);
    TrayIconEvent(app, kRightDown);  // only the release opens the menu
    EXPECT_EQ(icon.popups, 0);
}

// A menu item chosen runs; events while the menu is open are dropped.
TEST_F(TrayTest, OneMenuAtATimeAndEventsWhileItIsOpenAreDropped) {
    icon.onPopup = [&] {
        if (icon.popups > 1)
            return;  // a second menu: the test has failed already
        form.mnuPut.Click();
        TrayIconEvent(app, kRightUp);
        TrayIconEvent(app, kDoubleClick);
    };
    TrayIconEvent(app, kRightUp);
    EXPECT_EQ(icon.popups, 1);
    ExpectShown(false);
    EXPECT_EQ(app.TrayMessage, kDoubleClick);
}

// Every way to the tray hides the window and leaves the icon.
TEST_F(TrayTest, EveryTrayMinimizeButtonHidesTheWindow) {
    for (CommandButton* button :
         {&form.btnHide, &form.cmdTray1, &form.cmdTray2, &form.cmdTray3, &form.cmdTray4}) {
        form.mnuopen.Click();
        button->Click();
        ExpectShown(false);
        EXPECT_TRUE(icon.shown) << button->Name;
    }
}

TEST_F(TrayTest, HelpOpensTheInstalledGuideElseTheHomePage) {
    icon.onPopup = [&] { form.mnuHelp.Click(); };
    TrayIconEvent(app, kRightUp);
    program.helpFile = testing::Rooted(U"opt/velmo/mail-clients.md");
    TrayIconEvent(app, kRightUp);
    EXPECT_EQ(browser.opened,
              (std::vector<Text>{Text(HomePageAddress),
                                 FileAddress(program.helpFile, NativePathStyle())}));
}

TEST(FileAddress, PathsOfBothStylesAsBrowsersTakeThem) {
    const struct {
        PathStyle style;
        Text path;
        Text address;
    } rows[] = {
        {PathStyle::Posix, U"/usr/share/doc/velmo/mail-clients.md",
         U"file:///usr/share/doc/velmo/mail-clients.md"},
        // Characters a URL gives a meaning of its own, and a colon.
        {PathStyle::Posix, U"/a b/#?%&+;=:@~-_.md",
         U"file:///a%20b/%23%3F%25%26%2B%3B%3D%3A%40~-_.md"},
        {PathStyle::Posix, U"/azAZ09", U"file:///azAZ09"},
        {PathStyle::Posix, U"/\u00E9\U0001F600", U"file:///%C3%A9%F0%9F%98%80"},
        {PathStyle::Windows, U"C:\\Program Files\\Velmo\\docs\\mail-clients.md",
         U"file:///C:/Program%20Files/Velmo/docs/mail-clients.md"},
        {PathStyle::Windows, U"\\\\server\\share\\mail-clients.md",
         U"file://server/share/mail-clients.md"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ToUtf8(FileAddress(row.path, row.style)), ToUtf8(row.address))
            << ToUtf8(row.path);
}

// Every way out removes the icon first and saves nothing.
TEST_F(TrayTest, EveryWayOutRemovesTheIconFirst) {
    const int writes = files.writes;
    for (void (*leave)(App&) : {+[](App& a) { a.form.btnClose.Click(); },
                                +[](App& a) { a.form.mnuExit.Click(); }, &Form_QueryUnload}) {
        log.calls.clear();
        leave(app);
        EXPECT_EQ(log.calls, (std::vector<std::string>{"icon remove", "exit"}));
    }
    EXPECT_EQ(program.exits, 3);
    EXPECT_EQ(files.writes, writes);
}

}  // namespace
}  // namespace velmo
