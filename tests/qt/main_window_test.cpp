#include "qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "support/fakes.h"
#include "ui/about.h"
#include "ui/window.h"

namespace velmo {
namespace {

// What a widget shows: "(off) ", "(hidden) ", its text or value, a check mark,
// a colour other than black, "_" when underlined.
QString Shown(QWidget* w) {
    QString s = QString(w->isEnabled() ? "" : "(off) ") +
                (w->isVisibleTo(w->parentWidget()) ? "" : "(hidden) ");
    for (const char* property : {"text", "plainText", "currentText", "value", "title"})
        s += w->property(property).toString();
    if (auto* box = qobject_cast<QCheckBox*>(w))
        s += QStringList{" [ ]", " [-]", " [x]"}[box->checkState()];
    else if (auto* option = qobject_cast<QRadioButton*>(w))
        s += option->isChecked() ? " (o)" : " ( )";
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
        s += QString::number(tabs->currentIndex());
    if (const QColor color = w->palette().color(QPalette::Active, QPalette::WindowText);
        color != Qt::black)
        s += " " + color.name();
    return s + (w->font().underline() ? "_" : "");
}

// Assigns a check box's or an option button's value.
void Assign(Control& c, int value) {
    if (auto* box = c.As<CheckBox>())
        box->Value = value;
    if (auto* option = c.As<OptionButton>())
        option->Value = value != 0;
}

// A program with its window built before any change.
struct Program {
    testing::TestApp t;
    MainForm& form = t.app.form;
    std::unique_ptr<MainWindow> w = std::make_unique<MainWindow>(t.app);

    QWidget* Get(const char* name) {
        auto* widget = w->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Show(int tab = 0) {
        form.Show();
        form.Tabs.Tab = tab;
        QApplication::processEvents();
    }
};

class MainWindowTest : public ::testing::Test, protected Program {};

// However wide this desktop's captions, every control is one widget in its
// frame or page and inside it (or left of it, out of sight), in a window of
// fixed size.
TEST_F(MainWindowTest, EveryControlIsOneWidgetInsideItsFrameOrPage) {
    for (Control* c : form.Controls()) {
        SCOPED_TRACE(c->Name);
        const auto found = w->findChildren<QWidget*>(QString::fromStdString(c->Name));
        if (c->Kind == ControlKind::Menu || c->Kind == ControlKind::CommonDialog || c == &form.Tabs)
            continue;
        ASSERT_EQ(found.size(), 1);
        QWidget* widget = found.front();
        EXPECT_EQ(widget->parentWidget(), c->Container != nullptr ? w->WidgetOf(c->Container)
                                                                  : w->tabs()->widget(c->TabPage));
        const QRect r = widget->geometry(), room = widget->parentWidget()->rect();
        EXPECT_TRUE(r.x() < 0 ||
                    (r.right() <= room.right() && (c->Container || r.bottom() <= room.bottom())));
    }
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_EQ(w->tabs()->size(), w->size());
}

TEST(MainWindowTableTest, ModelChangesAreDrawnAndUserInputReachesTheModel) {
    const auto type = [](const char* keys) {
        return [keys](QWidget* w) { QTest::keyClicks(w, keys); };
    };
    const auto click = [](QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
    };
    const auto down = [](QWidget* w) { QTest::keyClick(w, Qt::Key_Down); };
    const auto slide = [](QWidget* w) { static_cast<QSlider*>(w)->setValue(4); };
    const auto tab4 = [](QWidget* w) { static_cast<QTabWidget*>(w)->setCurrentIndex(4); };
    const auto hover = [](QWidget* w) {
        QMouseEvent move(QEvent::MouseMove, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    const auto cross = [hover](QWidget* w) { hover(w), hover(w->parentWidget()); };
    const auto retype = [](QWidget* w) {
        w->setFocus();
        QTest::keyClicks(w, "Jane Doe");
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Delete);
        QTest::keyClicks(QApplication::focusWidget(), "Jane Roe");
    };
    const struct {
        int tab;
        const char* control;  // assigned `value` before the input, or none
        int value;
        const char* widget;
        std::function<void(QWidget*)> input;  // none: only the assignment
        QString read;       // controls shown, after the widget, by a window built afterwards
        const char* shown;  // "|" between
    } cases[] = {
        {1, nullptr, 0, "frmTB", {}, "", "(off) Top Border "},
        {1, "chkBorder", 1, "cmbFixWidth", {}, "", "(hidden) "},
        {4, "chkClip", 2, "chkClip", {}, "", "&Clipboard [-]"},
        // A group may have none chosen, which exclusive Qt buttons would refuse.
        {1, "optTBRepeat", 0, "optTBRepeat", {}, "", "(off) Repeat ( )"},
        {0, nullptr, 0, "btnNew", click, "IndNumber", "&New|<<New Entry>> 1/1"},
        {4, "chkClip", 2, "chkClip", click, "chkClip", "&Clipboard [x]|&Clipboard [x]"},
        {4, nullptr, 0, "optHTML", click, "optText optHTML", "HTML (o)|Text ( )|HTML (o)"},
        {4, "optHTML", 1, "optHTML", click, "optText optHTML", "HTML (o)|Text ( )|HTML (o)"},
        // Typing into a Like border chooses it; the length shown is the one before the key.
        {1, "chkBorder", 1, "txtTBLike", type("abc\b"), "txtTBLike lblTBLen optTBLike",
         "ab|ab|3|Like (o)"},
        {1, "chkBorder", 1, "txtTBRepeat", type("12345678"), "txtTBRepeat", "*12345|*12345"},
        {0, nullptr, 0, "txtVar", type("hi\ryo\b"), "txtVar IndNumber", "hi\ny|hi\ny|Entry: 1/1"},
        {0, nullptr, 0, "txtSignature", type("xy\b\r"), "txtSignature", "|"},  // no typing
        // The file boxes show paths that the buttons beside them choose.
        {4, nullptr, 0, "txtSigFile", type("/x"), "txtSigFile",
         "Signature File Location|Signature File Location"},
        {0, nullptr, 0, "txtVarFile", type("/x"), "txtVarFile",
         "Variable File Path|Variable File Path"},
        // Emptied while typed into, the box keeps the focus and the part stays on.
        {3, "chkFixed", 1, "txtFixed", retype, "txtFixed chkFixed",
         "Jane Roe|Jane Roe|Include Fixed Part [x]"},
        {1, nullptr, 0, "cmbFixWidth", down, "cmbFixWidth", "40|40"},
        {4, nullptr, 0, "Slider", slide, "Slider lblFreq", "4|4|1 Hour"},
        {0, nullptr, 0, "Tabs", tab4, "Tabs", "4|4"},
        // A link is underlined while hovered, until the mouse crosses its page.
        {5, nullptr, 0, "email", hover, "", "velmo@example.org #0000ff_"},
        {5, nullptr, 0, "email", cross, "", "velmo@example.org"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.widget);
        Program p;
        if (row.control != nullptr)
            Assign(*p.form.Find(row.control), row.value);
        p.Show(row.tab);
        QWidget* widget = p.Get(row.widget);
        if (row.input)
            row.input(widget);
        QStringList shown{Shown(widget)};
        // The model outlives its window: changes after the window is gone,
        // and the focus moves of its own teardown, must reach nothing.
        Control* active = p.form.ActiveControl();
        p.w.reset();
        EXPECT_EQ(p.form.ActiveControl(), active);
        p.form.Caption = U"after";
        // A window built now draws what the model holds.
        MainWindow after{p.t.app};
        EXPECT_TRUE(after.isVisible() && after.windowTitle() == "after");
        for (const QString& name : row.read.split(' ', Qt::SkipEmptyParts))
            shown << Shown(after.findChild<QWidget*>(name));
        EXPECT_EQ(shown.join('|').toStdString(), row.shown);
    }
}

TEST_F(MainWindowTest, AHugeTextIsShownCutAndKeptWholeInTheModel) {
    Show();
    const Text word(10'000'000, U'x');
    form.txtVar.Text = word;
    auto* edit = static_cast<QPlainTextEdit*>(Get("txtVar"));
    // Its first 50,000 characters, then an ellipsis and how much is left out.
    EXPECT_EQ(edit->toPlainText().left(50'002), QString(50'000, 'x') + "\n" + QChar(0x2026));
    EXPECT_LT(edit->toPlainText().size(), 50'100);
    // Typing into what is shown must not cut the model's text down to it.
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(t.app.vars.Entries[1], word);
    form.txtVar.Text = U"short";
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(form.txtVar.Text.get(), U"yshort");
}

// Focus moves both ways, and leaving the editor asks to save.
TEST_F(MainWindowTest, FocusAndStateFollowTheModelAndClosingEndsTheProgram) {
    Show();
    form.txtVar.SetFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), Get("txtVar"));
    t.messages.shown.clear();
    Get("btnRandomize")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form.ActiveControl(), &form.btnRandomize);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].style, msgbox::YesNoCriticalNoDefault);

    Form_Load(t.app);
    t.icon.available = false;  // then the tray button minimizes instead of hiding
    form.Show();
    QTest::mouseClick(Get("btnHide"), Qt::LeftButton);
    EXPECT_TRUE(w->isMinimized());
    w->showNormal();
    EXPECT_FALSE(form.Minimized.get());
    QTest::mouseClick(Get("ulrHomePage"), Qt::LeftButton);
    EXPECT_EQ(t.browser.opened, (std::vector<Text>{Text(HomePageAddress)}));
    form.Hide();
    EXPECT_FALSE(w->isVisible());
    form.Show();
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(t.icon.shown);
    EXPECT_EQ(t.program.exits, 1);
}

}  // namespace
}  // namespace velmo
