#include "ui/tray.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/path_style.h"
#include "support/fakes.h"
#include "ui/about.h"
#include "ui/startup.h"

namespace velmo {
namespace {

constexpr int kMouseMove = 0x200;
constexpr int kLeftDown = 0x201;
constexpr int kLeftUp = 0x202;
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

    const MenuItem* FirstOfferedItem() const {
        for (Control* c : form.Controls()) {
            if (c->Container == &form.TrayMenu && c->Visible)
                return c->As<MenuItem>();
        }
        return nullptr;
    }

    MainForm& form = app.form;
};

TEST_F(TrayTest, DoubleClickHidesAndShowsAndTheMenuOffersTheOtherWay) {
    ExpectShown(true);
    form.Tabs.Tab = 3;

    TrayIconEvent(app, kDoubleClick);
    ExpectShown(false);
    TrayIconEvent(app, kDoubleClick);
    ExpectShown(true);

    EXPECT_EQ(form.Tabs.Tab.get(), 3);
    EXPECT_EQ(icon.popups, 0);
    EXPECT_FALSE(app.TrayBusy);
}

// What each kind of notification area reports for what the user does, and
// what comes of it. An XEmbed tray reports a double-click as a single click
// followed by a double one; a StatusNotifier host sends one activation.
TEST_F(TrayTest, ClicksOnTheIconByKindOfNotificationArea) {
    using enum IconClick;
    struct Row {
        const char* name;
        IconClick openClose;
        std::vector<IconClick> clicks;
        bool toggles;
        int popups;
    };
    const std::vector<Row> rows = {
        {"XEmbed single click", Double, {Single}, false, 0},
        {"XEmbed double-click", Double, {Single, Double}, true, 0},
        {"XEmbed middle click", Double, {Middle}, false, 0},
        {"XEmbed right click", Double, {Context}, false, 1},
        {"StatusNotifier activation", Single, {Single}, true, 0},
        {"StatusNotifier secondary activation", Single, {Middle}, false, 0},
        {"StatusNotifier context menu call", Single, {Context}, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
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

TEST_F(TrayTest, APointerPositionBetweenPixelsIsRoundedToTheMessage) {
    form.MouseMove(0, 0, kDoubleClick * 15 + 7, 0);
    ExpectShown(false);
    form.MouseMove(0, 0, kDoubleClick * 15 - 7, 0);
    ExpectShown(true);
}

TEST_F(TrayTest, OtherMouseMessagesChangeNothing) {
    int changes = 0;
    form.Changed += [&](Control*, Property) { ++changes; };
    for (int message : {kMouseMove, kLeftDown, kLeftUp, kRightDown})
        TrayIconEvent(app, message);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(icon.popups, 0);
    ExpectShown(true);
    EXPECT_FALSE(app.TrayBusy);
}

TEST_F(TrayTest, OneMenuAtATimeAndEventsWhileItIsOpenAreDropped) {
    bool busyWhileOpen = false;
    icon.onPopup = [&] {
        if (icon.popups > 1)
            return;  // a second menu: the test has failed already
        busyWhileOpen = app.TrayBusy;
        TrayIconEvent(app, kRightUp);
        TrayIconEvent(app, kDoubleClick);
    };
    TrayIconEvent(app, kRightUp);
    EXPECT_EQ(icon.popups, 1);
    EXPECT_TRUE(busyWhileOpen);
    ExpectShown(true);
    EXPECT_EQ(app.TrayMessage, kDoubleClick);
    EXPECT_FALSE(app.TrayBusy);

    // Once it is closed the icon answers again.
    icon.onPopup = nullptr;
    TrayIconEvent(app, kRightUp);
    EXPECT_EQ(icon.popups, 2);
    TrayIconEvent(app, kDoubleClick);
    ExpectShown(false);
}

TEST_F(TrayTest, ItemsChosenFromTheOpenMenuRun) {
    form.btnHide.Click();
    ExpectShown(false);
    std::vector<const MenuItem*> offered;

    icon.onPopup = [&] {
        offered.push_back(FirstOfferedItem());
        form.mnuopen.Click();
    };
    TrayIconEvent(app, kRightUp);
    ExpectShown(true);

    icon.onPopup = [&] {
        offered.push_back(FirstOfferedItem());
        form.mnuPut.Click();
    };
    TrayIconEvent(app, kRightUp);
    ExpectShown(false);
    EXPECT_EQ(offered, (std::vector<const MenuItem*>{&form.mnuopen, &form.mnuPut}));

    icon.onPopup = [&] { form.mnuClipVar.Click(); };
    TrayIconEvent(app, kRightUp);
    ASSERT_EQ(clipboard.texts.size(), 1u);
    EXPECT_NE(clipboard.texts[0].find(app.PickedText), Text::npos);

    icon.onPopup = [&] { form.mnuExit.Click(); };
    TrayIconEvent(app, kRightUp);
    EXPECT_FALSE(icon.shown);
    EXPECT_EQ(program.exits, 1);
}

TEST_F(TrayTest, EveryTrayMinimizeButtonHidesTheWindow) {
    for (CommandButton* button :
         {&form.btnHide, &form.cmdTray1, &form.cmdTray2, &form.cmdTray3, &form.cmdTray4}) {
        SCOPED_TRACE(button->Name);
        form.mnuopen.Click();
        ExpectShown(true);
        button->Click();
        ExpectShown(false);
        EXPECT_EQ(FirstOfferedItem(), &form.mnuopen);
        EXPECT_TRUE(icon.shown);
    }
}

TEST_F(TrayTest, HelpOpensTheInstalledGuideElseTheHomePage) {
    const bool windows = NativePathStyle() == PathStyle::Windows;
    const struct {
        Text helpFile;
        Text opened;
    } rows[] = {
        {U"", Text(HomePageAddress)},
        {testing::Rooted(U"opt/Velmo Grüße/docs/mail-clients.md"),
         windows ? U"file:///C:/opt/Velmo%20Gr%C3%BC%C3%9Fe/docs/mail-clients.md"
                 : U"file:///opt/Velmo%20Gr%C3%BC%C3%9Fe/docs/mail-clients.md"},
    };
    for (const auto& row : rows) {
        program.helpFile = row.helpFile;
        browser.opened.clear();
        icon.onPopup = [&] { form.mnuHelp.Click(); };
        TrayIconEvent(app, kRightUp);
        EXPECT_EQ(browser.opened, std::vector<Text>{row.opened}) << ToUtf8(row.helpFile);
    }
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

TEST(TrayIconLife, StartUpAddsOneIconWithTheProgramIconAndName) {
    testing::TestApp run;
    ASSERT_TRUE(Main(run.app));
    EXPECT_EQ(run.icon.adds, 1);
    EXPECT_TRUE(run.icon.shown);
    EXPECT_EQ(run.icon.lastIcon, "icon");
    EXPECT_EQ(run.icon.lastIcon, run.app.form.imgIcon.Picture);
    EXPECT_EQ(run.icon.lastTip, U"Velmo");
}

TEST(TrayIconLife, EveryWayOutRemovesTheIconFirst) {
    const std::vector<std::pair<std::string, std::function<void(App&)>>> ways = {
        {"Exit button", [](App& a) { a.form.btnClose.Click(); }},
        {"Quit menu item", [](App& a) { a.form.mnuExit.Click(); }},
        {"closing the window", [](App& a) { Form_QueryUnload(a); }},
    };
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        testing::TestApp run;
        ASSERT_TRUE(Main(run.app));
        run.log.calls.clear();
        leave(run.app);
        EXPECT_FALSE(run.icon.shown);
        EXPECT_EQ(run.program.exits, 1);
        EXPECT_EQ(run.log.calls, (std::vector<std::string>{"icon remove", "exit"}));
    }
}

}  // namespace
}  // namespace velmo
