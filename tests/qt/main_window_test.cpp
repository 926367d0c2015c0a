#include "qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
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
        box->Value = static_cast<Check>(value);
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

// Where a widget draws, in its parent's coordinates, however far that reaches:
// a label's text or picture, a check box's or option button's mark and caption,
// or else the whole widget.
QRect Drawn(const QWidget* w) {
    QRect r = w->rect();
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        const QRect room = label->contentsRect();
        const int flags =
            static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        if (!label->pixmap().isNull() && !label->hasScaledContents()) {
            r = QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                    label->pixmap().deviceIndependentSize().toSize(), room);
        } else if (label->pixmap().isNull()) {
            r = label->text().isEmpty()
                    ? QRect()
                    : label->fontMetrics().boundingRect(room, flags, label->text());
        }
    } else if (auto* button = qobject_cast<const QAbstractButton*>(w);
               button != nullptr && qobject_cast<const QPushButton*>(w) == nullptr) {
        QStyleOptionButton option;
        option.initFrom(button);
        const bool box = qobject_cast<const QCheckBox*>(w) != nullptr;
        const QStyle* style = w->style();
        const QRect text = style->itemTextRect(
            w->fontMetrics(),
            style->subElementRect(
                box ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, w),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, true, button->text());
        r = text.united(style->subElementRect(
            box ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option, w));
    }
    return r.translated(w->pos());
}

// What a page or frame shows directly: a frame that only groups counts as its contents.
std::vector<std::pair<QWidget*, QRect>> DrawnOn(QWidget* parent, QPoint offset = {}) {
    std::vector<std::pair<QWidget*, QRect>> shown;
    for (QWidget* w : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!w->isVisibleTo(parent) || w->x() < 0) {
            continue;
        } else if (w->metaObject() == &QWidget::staticMetaObject) {
            for (const auto& inner : DrawnOn(w, offset + w->pos()))
                shown.push_back(inner);
        } else {
            shown.emplace_back(w, Drawn(w).translated(offset));
        }
    }
    return shown;
}

// The rows of a frame's lines: drawn across most of its width, unlike the rows
// just above and below.
std::vector<int> LineRows(QGroupBox* frame) {
    QImage image(frame->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    frame->render(&image, {}, {}, QWidget::RenderFlags());  // no children, no background
    const auto differs = [&](int y, int other) {
        int n = 0;
        for (int x = 0; x < image.width(); ++x)
            n += other < 0 || other >= image.height() || image.pixel(x, y) != image.pixel(x, other);
        return n > image.width() / 2;
    };
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (differs(y, y - 1) && differs(y, y + 1))
            rows.push_back(y);
    }
    return rows;
}

// At the fonts of this desktop, with borders on and off: every caption and
// picture fits its widget, keeps clear of what the widgets beside it draw, and
// crosses no frame line.
TEST_F(MainWindowTest, CaptionsFitAndTouchNothingBesideThem) {
    const std::pair<const char*, const char*> neighbours[] = {
        {"lblAuthor", "imgBanner"},              // "By:" under the banner
        {"imgIcon", "imgAboutBanner"},           // the icon under the About banner
        {"lblPlainWidthUnit", "cmbPlainWidth"},  // "characters" after the width box
        {"lblBorderedWidthUnit", "cmbBorderedWidth"},
        {"lblPlainWidth", "cmbPlainWidth"},
        {"lblHomePageTitle", "lblMailAddress"},
    };
    for (const auto& [name, other] : neighbours) {
        EXPECT_FALSE(Drawn(Get(name)).isEmpty()) << name;
        EXPECT_FALSE(Drawn(Get(name)).intersects(Drawn(Get(other))))
            << name << " touches " << other;
    }
    for (const int borders : {0, 1}) {
        form.chkBorder.Value = static_cast<Check>(borders);
        for (int tab = 0; tab < 6; ++tab) {
            Show(tab);
            std::vector<QWidget*> parents{w->tabs()->widget(tab)};
            for (QGroupBox* frame : parents[0]->findChildren<QGroupBox*>())
                parents.push_back(frame);
            for (QWidget* parent : parents) {
                const auto shown = DrawnOn(parent);
                auto* frame = qobject_cast<QGroupBox*>(parent);
                const std::vector<int> lines = frame ? LineRows(frame) : std::vector<int>{};
                EXPECT_TRUE(!frame || lines.size() >= 2) << frame->objectName().toStdString();
                for (const auto& [a, drawn] : shown) {
                    const std::string name = a->objectName().toStdString();
                    if (qobject_cast<QLabel*>(a) != nullptr) {
                        EXPECT_TRUE(drawn.isEmpty() || a->geometry().contains(Drawn(a)))
                            << name << " cut off";
                    } else if (qobject_cast<QAbstractButton*>(a) == nullptr) {
                        continue;
                    }
                    for (const int row : lines) {
                        EXPECT_FALSE(drawn.top() <= row && row <= drawn.bottom())
                            << name << " crosses the line at " << row;
                    }
                    for (const auto& [b, bDrawn] : shown) {
                        if (b != a && qobject_cast<QPushButton*>(a) == nullptr &&
                            drawn.intersects(bDrawn))
                            ADD_FAILURE() << name << " touches " << b->objectName().toStdString();
                    }
                }
            }
        }
    }
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
        {1, nullptr, 0, "frmTopBorder", {}, "", "(off) Top Border "},
        {1, "chkBorder", 1, "cmbPlainWidth", {}, "", "(hidden) "},
        {4, "chkClipboard", 2, "chkClipboard", {}, "", "&Clipboard [-]"},
        // A group may have none chosen, which exclusive Qt buttons would refuse.
        {1, "optTopRepeat", 0, "optTopRepeat", {}, "", "(off) Repeat ( )"},
        {0, nullptr, 0, "cmdNewEntry", click, "lblEntryNumber", "&New|<<New Entry>> 1/1"},
        {4, "chkClipboard", 2, "chkClipboard", click, "chkClipboard",
         "&Clipboard [x]|&Clipboard [x]"},
        {4, nullptr, 0, "optHTML", click, "optText optHTML", "HTML (o)|Text ( )|HTML (o)"},
        {4, "optHTML", 1, "optHTML", click, "optText optHTML", "HTML (o)|Text ( )|HTML (o)"},
        // Typing into a Like border chooses it; the length shown is the one before the key.
        {1, "chkBorder", 1, "txtTopLike", type("abc\b"), "txtTopLike lblTopLikeLength optTopLike",
         "ab|ab|3|Like (o)"},
        {1, "chkBorder", 1, "txtTopRepeat", type("12345678"), "txtTopRepeat", "*12345|*12345"},
        {0, nullptr, 0, "txtEntry", type("hi\ryo\b"), "txtEntry lblEntryNumber",
         "hi\ny|hi\ny|Entry: 1/1"},
        {0, nullptr, 0, "txtPreviewVariable", type("xy\b\r"), "txtPreviewVariable",
         "|"},  // no typing
        // The file boxes show paths that the buttons beside them choose.
        {4, nullptr, 0, "txtSignatureFilePath", type("/x"), "txtSignatureFilePath",
         "Signature File Location|Signature File Location"},
        {0, nullptr, 0, "txtQuoteListPath", type("/x"), "txtQuoteListPath",
         "Variable File Path|Variable File Path"},
        // Emptied while typed into, the box keeps the focus and the part stays on.
        {3, "chkFixedPart", 1, "txtFixedText", retype, "txtFixedText chkFixedPart",
         "Jane Roe|Jane Roe|Include Fixed Part [x]"},
        {1, nullptr, 0, "cmbPlainWidth", down, "cmbPlainWidth", "40|40"},
        {4, nullptr, 0, "sldChangeInterval", slide, "sldChangeInterval lblChangeInterval",
         "4|4|1 Hour"},
        {0, nullptr, 0, "Tabs", tab4, "Tabs", "4|4"},
        // A link is underlined while hovered, until the mouse crosses its page.
        {5, nullptr, 0, "lblMailAddress", hover, "", "velmo@example.org #0000ff_"},
        {5, nullptr, 0, "lblMailAddress", cross, "", "velmo@example.org"},
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
    form.txtEntry.Text = word;
    auto* edit = static_cast<QPlainTextEdit*>(Get("txtEntry"));
    // Its first 50,000 characters, then an ellipsis and how much is left out.
    EXPECT_EQ(edit->toPlainText().left(50'002), QString(50'000, 'x') + "\n" + QChar(0x2026));
    EXPECT_LT(edit->toPlainText().size(), 50'100);
    // Typing into what is shown must not cut the model's text down to it.
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(t.app.session.quoteList.Entries[1], word);
    form.txtEntry.Text = U"short";
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(form.txtEntry.Text.get(), U"yshort");
}

// Focus moves both ways, and leaving the editor asks to save.
TEST_F(MainWindowTest, FocusAndStateFollowTheModelAndClosingEndsTheProgram) {
    Show();
    form.txtEntry.SetFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), Get("txtEntry"));
    t.messages.shown.clear();
    Get("cmdRandomize")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form.ActiveControl(), &form.cmdRandomize);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].style, message::ErrorYesNoDefaultNo);

    Form_Load(t.app);
    t.icon.available = false;  // then the tray button minimizes instead of hiding
    form.Show();
    QTest::mouseClick(Get("cmdTrayMinimizeVariable"), Qt::LeftButton);
    EXPECT_TRUE(w->isMinimized());
    w->showNormal();
    EXPECT_FALSE(form.Minimized.get());
    QTest::mouseClick(Get("lblHomePage"), Qt::LeftButton);
    EXPECT_EQ(t.browser.opened, (std::vector<Text>{Text(HomePageAddress)}));
    form.Hide();
    EXPECT_FALSE(w->isVisible());
    form.Show();
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(t.icon.shown);
    EXPECT_EQ(t.loop.quits, 1);
}

}  // namespace
}  // namespace velmo
