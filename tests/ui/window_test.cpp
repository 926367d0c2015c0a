#include "ui/window.h"

#include <gtest/gtest.h>

#include <optional>
#include <system_error>
#include <vector>

#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/options.h"
#include "ui/startup.h"

namespace velmo {
namespace {

class WindowTest : public ::testing::Test, protected testing::TestApp {
  protected:
    MainForm& form = app.form;
};

// The first page, the version, the icon, a window never shown, the editors
// and the schedule matching their boxes, the About text in four paragraphs.
TEST_F(WindowTest, LoadPreparesTheHiddenWindow) {
    form.Tabs.Tab = 4;
    Form_Load(app);
    const Text major = ToText(VELMO_VERSION_MAJOR);
    const Text minor = ToText(VELMO_VERSION_MINOR);
    const Text patch = ToText(VELMO_VERSION_PATCH);
    EXPECT_EQ(form.lblVersion.Caption.get(), U"Version " + major + U"." + minor + U"." + patch);
    EXPECT_EQ(form.Caption.get(), U"Velmo - " + major + U"." + minor + patch);
    EXPECT_EQ(form.Tabs.Tab.get(), 0);
    EXPECT_EQ(icon.adds, 1);
    EXPECT_FALSE(form.Visible);
    EXPECT_FALSE(form.txtVar.Enabled || form.Slider.Enabled || form.txtFixed.Enabled);
    EXPECT_EQ(form.lblFreq.Caption.get(), U"<< Disabled >>");
    EXPECT_EQ(form.Slider.Tag.get(), U"0");
    const Text& about = form.lblDescription.Caption.get();
    EXPECT_EQ(about.rfind(U"Velmo is free.", 0), 0u);
    EXPECT_EQ(about.find(U"\r\n\r\nAll rights"), about.find(U"\r\n"));
    EXPECT_NE(about.back(), U'\n');
}

// Only the first page's preview refuses typing; the next build puts the
// signature back in every preview.
TEST_F(WindowTest, OnlyTheVariablePagePreviewRefusesTyping) {
    app.AppPath = U"/opt/velmo/";
    Form_Load(app);
    SetDefaults(app);
    for (TextBox* preview : {&form.txtSignature, &form.txtSignature1, &form.txtSignature3}) {
        EXPECT_EQ(preview->PressKey('a') == 0, preview == &form.txtSignature) << preview->Name;
        preview->Text = U"typed";
        form.cmdApply2.Click();
        EXPECT_EQ(preview->Text.get(), app.SignatureText) << preview->Name;
    }
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
    const struct {
        Control* over;
        Look email;
        Look homePage;
    } steps[] = {
        {&form.email, Hovered, Design},       {&form.Tabs, Plain, Plain},
        {&form.ulrHomePage, Plain, Hovered},  {&form.email, Hovered, Hovered},
        {&form.lblVersion, Hovered, Hovered}, {&form.Tabs, Plain, Plain},
    };
    for (const auto& step : steps) {
        step.over->MouseMove(0, 0, 120, 60);
        EXPECT_EQ(look(form.email), step.email) << step.over->Name;
        EXPECT_EQ(look(form.ulrHomePage), step.homePage) << step.over->Name;
    }
    form.email.Click();
    form.ulrHomePage.Click();
    EXPECT_EQ(browser.opened, (std::vector<Text>{U"mailto:" + form.email.Caption.get(),
                                                 form.ulrHomePage.Caption.get()}));
    EXPECT_EQ(browser.opened[1], U"https://velmo.example.org/");
}

// --- Starting with the desktop ---

TEST(AutostartEntryTest, ExecNamesTheProgramAsTheDesktopEntryRulesQuoteIt) {
    EXPECT_EQ(AutostartEntry(U"/opt/velmo/velmo"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Velmo\n"
              "Comment=Keep your e-mail signature fresh with a quotation picked at random\n"
              "Exec=/opt/velmo/velmo\n"
              "Icon=velmo\n"
              "X-GNOME-Autostart-enabled=true\n");
    const struct {
        Text program;
        std::string exec;
    } rows[] = {
        {U"/home/ann/My Programs/velmo", "\"/home/ann/My Programs/velmo\""},
        // Inside quotes ", `, $ and \ take a backslash; every backslash is then doubled.
        {U"/opt/a$b\\c\"d`e/velmo", "\"/opt/a\\\\$b\\\\\\\\c\\\\\"d\\\\`e/velmo\""},
        {U"/opt/100%/velmo", "/opt/100%%/velmo"},
        {U"/opt/tab\there/new\nline/velmo", "\"/opt/tab\\there/new\\nline/velmo\""},
        {U"/opt/véłmo=1/velmo", "/opt/v\xC3\xA9\xC5\x82mo=1/velmo"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.exec);
        const std::string entry = AutostartEntry(row.program);
        EXPECT_NE(entry.find("\nExec=" + row.exec + "\nIcon=velmo\n"), std::string::npos);
    }
}

TEST(AutostartEntryTest, OnlyAnEntryNotSwitchedOffStartsWithTheDesktop) {
    const struct {
        std::string bytes;
        bool on;
    } rows[] = {
        {"[Desktop Entry]\nExec=velmo\n", true},
        {"[Desktop Entry]\nHidden=true\n", false},
        {"[Desktop Entry]\r\nExec=velmo\r\n  Hidden = true \r\n", false},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nHidden=false\nX-GNOME-Autostart-enabled=true", true},
        // Only the entry's own group counts, and not a comment.
        {"[Desktop Action x]\nHidden=true\n[Desktop Entry]\n# Hidden=true\nExec=velmo\n", true},
        {"[Desktop Entry]\nExec=velmo\n[Other]\nX-GNOME-Autostart-enabled=false\n", true},
        {"Exec=velmo\n", false},
        {"", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes);
        EXPECT_EQ(AutostartEntryOn(row.bytes), row.on);
    }
}

// The box shows the entry found at start; ticking writes it, clearing removes
// it, one made by hand too; a failure is told and the box shows the entry as it is.
TEST(AutostartBoxTest, FollowsAndSwitchesTheEntry) {
    const Text entry = testing::Rooted(U"home/test/.config/autostart/velmo.desktop");
    const std::string ours = AutostartEntry(testing::Rooted(U"opt/velmo/velmo"));
    const std::string off = "[Desktop Entry]\nExec=velmo\nHidden=true\n";
    const auto denied = std::make_error_code(std::errc::permission_denied);
    const struct {
        std::optional<std::string> before;
        int click;
        std::error_code failure;
        std::optional<std::string> after;
    } rows[] = {
        {std::nullopt, 1, {}, ours},
        {ours, 0, {}, std::nullopt},
        {"[Desktop Entry]\nExec=velmo --mine\n", 0, {}, std::nullopt},
        {off, 1, {}, ours},
        {std::nullopt, 1, denied, std::nullopt},
        {ours, 0, denied, ours},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(&row - rows));
        testing::TestApp t;
        if (row.before)
            t.files.files[entry] = *row.before;
        ASSERT_TRUE(Main(t.app));
        EXPECT_EQ(t.app.form.chkAutostart.Value.get(), row.before && row.before != off ? 1 : 0);
        t.messages.shown.clear();
        if (row.failure)
            t.files.failWrites[entry] = row.failure;

        t.app.form.chkAutostart.Value = row.click;

        EXPECT_EQ(t.app.form.chkAutostart.Value.get(), row.after ? 1 : 0);
        const auto found = t.files.files.find(entry);
        EXPECT_EQ(found == t.files.files.end() ? std::nullopt : std::optional(found->second),
                  row.after);
        EXPECT_EQ(t.messages.shown.size(), row.failure ? 1u : 0u);
    }
}

// Without a program file or an autostart folder the box is hidden and does nothing.
TEST(AutostartBoxTest, HiddenWhereThereIsNoEntryToWrite) {
    for (const bool noProgram : {false, true}) {
        testing::TestApp t;
        (noProgram ? t.program.programFile : t.program.autostartFile) = U"";
        ASSERT_TRUE(Main(t.app));
        EXPECT_FALSE(t.app.form.chkAutostart.Visible);
        const size_t files = t.files.files.size();
        t.app.form.chkAutostart.Value = 1;
        EXPECT_EQ(t.files.files.size(), files);
        EXPECT_TRUE(t.messages.shown.empty());
    }
}

}  // namespace
}  // namespace velmo
