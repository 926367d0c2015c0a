#include "qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <string>

#include "qt/qt_text.h"
#include "support/fakes.h"
#include "ui/about.h"
#include "ui/startup.h"
#include "ui/window.h"

namespace velmo {
namespace {

// What a widget shows, in one line: "(off) " when disabled, "(hidden) " when
// hidden, then its text or value, a check mark, "_" when underlined.
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
    return s + (w->font().underline() ? "_" : "");
}

// The main value of a control, written as text: what the user changes on it.
Text Value(Control& c) {
    if (auto* x = c.As<CheckBox>())
        return ToText(x->Value);
    if (auto* x = c.As<OptionButton>())
        return ToText(x->Value);
    if (auto* x = c.As<SliderControl>())
        return ToText(x->Value) + U"/" + x->Tag.get();
    if (auto* x = c.As<TabControl>())
        return ToText(x->Tab);
    if (auto* x = c.As<TextBox>())
        return x->Text;
    if (auto* x = c.As<ComboBox>())
        return x->Text;
    if (auto* x = c.As<Label>())
        return x->Caption;
    return c.Enabled ? U"on" : U"off";
}

// Assigns a value written as text to the control's main property.
void Assign(Control& c, const Text& v) {
    const int n = ToWholeNumber(v);
    if (auto* x = c.As<CheckBox>())
        x->Value = n;
    if (auto* x = c.As<OptionButton>())
        x->Value = n != 0;
    if (auto* x = c.As<SliderControl>())
        x->Value = n;
    if (auto* x = c.As<TabControl>())
        x->Tab = n;
    if (auto* x = c.As<TextBox>())
        x->Text = v;
    if (auto* x = c.As<ComboBox>())
        x->Text = v;
}

// A program with its window built before any change.
struct Program {
    testing::TestApp t;
    MainForm& form = t.app.form;
    MainWindow w{t.app};

    QWidget* Get(const char* name) {
        auto* widget = w.findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Show(int tab = 0) {
        w.show();
        w.activateWindow();
        form.Tabs.Tab = tab;
        QApplication::processEvents();
    }
};

void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
}

void Move(QWidget* widget, QPoint at = QPoint(2, 2)) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

class MainWindowTest : public ::testing::Test, protected Program {};

TEST_F(MainWindowTest, EveryControlIsOneWidgetOfItsKindInItsContainerAndPage) {
    for (Control* c : form.Controls()) {
        SCOPED_TRACE(c->Name);
        const auto found = w.findChildren<QWidget*>(QString::fromStdString(c->Name));
        if (c->Kind == ControlKind::Menu || c->Kind == ControlKind::CommonDialog) {
            EXPECT_TRUE(found.isEmpty());
            continue;
        }
        ASSERT_EQ(found.size(), 1);
        QWidget* widget = found.front();
        EXPECT_EQ(w.WidgetOf(c), widget);
        EXPECT_EQ(w.ControlOf(widget), c);
        if (c == &form.Tabs)
            continue;
        EXPECT_EQ(widget->parentWidget(), c->Container != nullptr ? w.WidgetOf(c->Container)
                                                                  : w.tabs()->widget(c->TabPage));
        // However tall the tab strip and wide the captions, a control fits in its page, and
        // in the width of its frame, unless placed left of it to be out of sight.
        const QRect r = widget->geometry(), room = widget->parentWidget()->rect();
        EXPECT_TRUE(r.x() < 0 ||
                    (r.right() <= room.right() && (c->Container || r.bottom() <= room.bottom())));
        EXPECT_EQ(widget->isEnabledTo(widget->parentWidget()), c->Enabled.get());
        EXPECT_EQ(widget->isVisibleTo(widget->parentWidget()), c->Visible.get());
        if (auto* box = c->As<TextBox>()) {
            auto* line = qobject_cast<QLineEdit*>(widget);
            EXPECT_EQ(line == nullptr, box->MultiLine);
            EXPECT_EQ(line && box->MaxLength > 0 ? line->maxLength() : 0, box->MaxLength);
        }
        if (auto* frame = c->As<Frame>()) {
            EXPECT_EQ(qobject_cast<QGroupBox*>(widget) == nullptr, frame->Borderless);
        }
    }
    EXPECT_EQ(w.minimumSize(), w.maximumSize());  // a fixed layout: no resizing
    EXPECT_EQ(w.tabs()->size(), w.size());
    // The previews line up from page to page.
    const QRect main = Get("txtSignature")->geometry();
    for (const char* preview : {"txtSignature1", "txtSignature2", "txtSignature3"}) {
        const QRect r = Get(preview)->geometry();
        EXPECT_EQ((QList<int>{r.top(), r.width(), r.height()}),
                  (QList<int>{main.top(), main.width(), main.height()}))
            << preview;
    }
}

// --- Model changes reach the widgets; user input reaches the model ---

struct Case {
    int tab;
    const char* control;  // assigned `value` before the input, or none
    Text value;
    const char* widget;
    std::function<void(QWidget*)> input;  // none: only the assignment
    QString read;                         // the controls whose values are compared
    Text values;                          // their values after the input, "|" between
    QString shown;                        // what the widget shows in the end
};

TEST(MainWindowTableTest, ModelChangesAreDrawnAndUserInputReachesTheModel) {
    const auto type = [](const char* keys) {
        return [keys](QWidget* w) { QTest::keyClicks(w, keys); };
    };
    const auto down = [](QWidget* w) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Down);
    };
    const auto slide = [](QWidget* w) { static_cast<QSlider*>(w)->setValue(4); };
    const auto tab4 = [](QWidget* w) { static_cast<QTabWidget*>(w)->tabBar()->setCurrentIndex(4); };
    const Case cases[] = {
        {1, nullptr, U"", "frmTB", {}, "", U"", "(off) Top Border "},
        {1, "chkBorder", U"1", "txtTBLike", {}, "", U"", ""},  // its frame is on now
        {1, "chkBorder", U"1", "cmbFixWidth", {}, "", U"", "(hidden) "},
        {4, "chkClip", U"2", "chkClip", {}, "", U"", "&Clipboard [-]"},
        {3, "txtFixed", U"a\r\nb", "txtFixed", {}, "", U"", "a\nb"},
        {1, "txtTBRepeat", U"-=", "txtTBRepeat", {}, "", U"", "(off) -="},
        {1, "cmbWidth", U"80", "cmbWidth", {}, "", U"", "(off) 80"},
        {4, "Slider", U"7", "lblFreq", {}, "", U"", "12 Hours"},
        {1, "optBBLike", U"1", "optBBSame", {}, "", U"", "(off) Same as Top ( )"},
        // A group may have none chosen, which exclusive Qt buttons would refuse.
        {1, "optTBRepeat", U"0", "optTBRepeat", {}, "", U"", "(off) Repeat ( )"},
        {4, "optHTML", U"1", "optText", {}, "", U"", "Text ( )"},
        {3, "Tabs", U"3", "Tabs", {}, "", U"", "3"},
        // User input.
        {0, nullptr, U"", "btnNew", Click, "IndNumber", U"<<New Entry>> 1/1", "&New"},
        {1, nullptr, U"", "chkBorder", Click, "chkBorder frmTB", U"1|on", "Include Borders [x]"},
        {4, "chkClip", U"2", "chkClip", Click, "chkClip", U"1", "&Clipboard [x]"},
        {4, "chkClip", U"1", "chkClip", Click, "chkClip", U"0", "&Clipboard [ ]"},
        {4, nullptr, U"", "optHTML", Click, "optText optHTML", U"0|1", "HTML (o)"},
        {4, "optHTML", U"1", "optHTML", Click, "optText optHTML", U"0|1", "HTML (o)"},
        {1, "chkBorder", U"1", "optBBLike", Click, "optBBLike optBBSame optTBRepeat", U"1|0|1",
         "Like (o)"},
        // Typing into a Like border chooses it; the length shown is the one before the key.
        {1, "chkBorder", U"1", "txtTBLike", type("abc\b"), "txtTBLike lblTBLen optTBLike",
         U"ab|3|1", "ab"},
        {1, "chkBorder", U"1", "txtTBRepeat", type("12345678"), "txtTBRepeat", U"*12345", "*12345"},
        {3, nullptr, U"", "txtSignature1", type("hi"), "txtSignature1", U"hi", "hi"},
        {0, nullptr, U"", "txtVar", type("hi\ryo\b"), "txtVar IndNumber", U"hi\r\ny|Entry: 1/1",
         "hi\ny"},
        {0, nullptr, U"", "txtSignature", type("xy\b\r"), "txtSignature", U"", ""},  // no typing
        {1, "cmbFixWidth", U"80", "cmbFixWidth", down, "cmbFixWidth", U"100", "100"},
        {4, nullptr, U"", "Slider", slide, "Slider lblFreq", U"4/3600|1 Hour", "4"},
        {0, nullptr, U"", "Tabs", tab4, "Tabs", U"4", "4"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.widget);
        Program p;
        if (row.control != nullptr)
            Assign(*p.form.Find(row.control), row.value);
        p.Show(row.tab);
        QWidget* widget = p.Get(row.widget);
        if (row.input)
            row.input(widget);
        QStringList values;
        for (const QString& name : row.read.split(' ', Qt::SkipEmptyParts))
            values << ToQString(Value(*p.form.Find(name.toStdString())));
        EXPECT_EQ(values.join('|'), ToQString(row.values));
        EXPECT_EQ(Shown(widget), row.shown);
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
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(t.app.vars.Entries[1], word);
    form.txtVar.Text = U"short";
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(form.txtVar.Text.get(), U"yshort");
}

TEST_F(MainWindowTest, FocusMovesBothWaysAndLeavingTheEditorAsksToSave) {
    Show();
    Get("txtVar")->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), Get("txtVar")) << "the window did not become active";
    t.messages.shown.clear();
    Get("btnRandomize")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form.ActiveControl(), &form.btnRandomize);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].style, msgbox::YesNoCriticalNoDefault);
    form.txtVar.SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Get("txtVar"));
}

TEST_F(MainWindowTest, HoveringALinkUnderlinesItUntilThePageIsCrossedAndClickingOpensIt) {
    Show(5);
    const auto color = [&](const char* name) {
        return Get(name)->palette().color(QPalette::Active, QPalette::WindowText);
    };
    Move(Get("email"));
    Move(Get("lblHTML"));  // no link: changes nothing
    EXPECT_EQ(Shown(Get("email")), "velmo@example.org_");
    EXPECT_EQ(color("email"), QColor(0, 0, 255));
    Move(Get("ulrHomePage"));
    EXPECT_TRUE(form.email.FontUnderline.get() && form.ulrHomePage.FontUnderline.get());
    Move(w.tabs()->widget(5), QPoint(5, 5));
    EXPECT_FALSE(form.email.FontUnderline.get() || form.ulrHomePage.FontUnderline.get());
    EXPECT_EQ(Shown(Get("email")), "velmo@example.org");
    EXPECT_EQ(color("email"), QColor(0, 0, 0));

    QTest::mouseClick(Get("lblHTML"), Qt::LeftButton);
    EXPECT_TRUE(t.browser.opened.empty());
    QTest::mouseClick(Get("ulrHomePage"), Qt::LeftButton);
    EXPECT_EQ(t.browser.opened, (std::vector<Text>{Text(HomePageAddress)}));
}

TEST_F(MainWindowTest, WindowStateFollowsTheModelAndClosingEndsTheProgram) {
    Form_Load(t.app);
    t.icon.available = false;  // then the tray button minimizes instead of hiding
    form.Show();
    QApplication::processEvents();
    QTest::mouseClick(Get("btnHide"), Qt::LeftButton);
    EXPECT_TRUE(w.isMinimized());
    w.showNormal();
    EXPECT_FALSE(form.Minimized.get());
    form.Hide();
    EXPECT_FALSE(w.isVisible());
    form.Show();
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(t.icon.shown);
    EXPECT_EQ(t.program.exits, 1);
}

// The model outlives its window: changes after the window is gone, and the
// focus moves of its own teardown, must reach nothing.
TEST(MainWindowLifetimeTest, TheModelOutlivesTheWindow) {
    testing::TestApp t;
    {
        MainWindow w(t.app);
        w.show();
        w.activateWindow();
        QApplication::processEvents();
        t.app.form.txtVar.SetFocus();
        QApplication::processEvents();
    }
    t.app.form.Caption = U"after";
    t.app.form.chkBorder.Value = 1;
    EXPECT_EQ(t.app.form.ActiveControl(), &t.app.form.txtVar);
}

TEST(MainWindowBuiltLateTest, DrawsWhatStartUpLeftInTheModel) {
    testing::TestApp early;
    MainWindow before{early.app};
    ASSERT_TRUE(Main(early.app));
    testing::TestApp late;
    ASSERT_TRUE(Main(late.app));
    for (MainForm* f : {&early.app.form, &late.app.form})
        f->Caption = U"Velmo - 1.00", f->Tabs.Tab = 3, f->Show();
    MainWindow after{late.app};
    for (size_t i = 1; i < early.app.form.Controls().size(); ++i) {  // after the tabs
        QWidget* a = after.WidgetOf(late.app.form.Controls()[i]);
        QWidget* b = before.WidgetOf(early.app.form.Controls()[i]);
        EXPECT_EQ(a ? Shown(a) : "", b ? Shown(b) : "") << late.app.form.Controls()[i]->Name;
    }
    EXPECT_EQ(after.windowTitle(), "Velmo - 1.00");
    EXPECT_TRUE(after.isVisible());
    EXPECT_EQ(after.tabs()->currentIndex(), before.tabs()->currentIndex());
}

}  // namespace
}  // namespace velmo
