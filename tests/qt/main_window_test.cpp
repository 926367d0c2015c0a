#include "qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <string>

#include "qt/qt_text.h"
#include "support/fakes.h"
#include "ui/about.h"
#include "ui/startup.h"
#include "ui/window.h"

namespace velmo {
namespace {

// The Qt class each kind of control is drawn with.
const char* ClassOf(Control& c) {
    switch (c.Kind) {
        case ControlKind::Label:
        case ControlKind::Image:
            return "QLabel";
        case ControlKind::TextBox:
            return c.As<TextBox>()->MultiLine ? "QPlainTextEdit" : "QLineEdit";
        case ControlKind::CheckBox:
            return "QCheckBox";
        case ControlKind::OptionButton:
            return "QRadioButton";
        case ControlKind::ComboBox:
            return "QComboBox";
        case ControlKind::CommandButton:
            return "QPushButton";
        case ControlKind::Frame:
            return c.As<Frame>()->Borderless ? "QWidget" : "QGroupBox";
        case ControlKind::Line:
            return "QFrame";
        case ControlKind::Slider:
            return "QSlider";
        default:
            return "";
    }
}

bool DrawnAsWidget(const Control& c) {
    return c.Kind != ControlKind::Menu && c.Kind != ControlKind::CommonDialog;
}

class MainWindowTest : public ::testing::Test {
  protected:
    testing::TestApp t;
    MainForm& form = t.app.form;
    // Built before the model changes, so that every change has to reach it.
    MainWindow w{t.app};

    template <typename T = QWidget>
    T* Get(const char* name) {
        T* widget = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void ShowActive() {
        w.show();
        w.activateWindow();
        QApplication::processEvents();
    }

    void ClickCheckBox(QAbstractButton* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    static void Move(QWidget* widget, QPoint at = QPoint(2, 2)) {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
};

// --- Building the window ---

TEST_F(MainWindowTest, EveryControlHasOneWidgetOfItsKindInsideItsContainer) {
    int drawn = 0;
    for (Control* c : form.Controls()) {
        if (!DrawnAsWidget(*c)) {
            EXPECT_TRUE(w.findChildren<QWidget*>(QString::fromStdString(c->Name)).isEmpty())
                << c->Name;
            continue;
        }
        if (c->Kind == ControlKind::TabControl)
            continue;  // the pages' holder, checked on its own
        ++drawn;
        const QList<QWidget*> found = w.findChildren<QWidget*>(QString::fromStdString(c->Name));
        ASSERT_EQ(found.size(), 1) << c->Name;
        QWidget* widget = found.front();
        EXPECT_STREQ(widget->metaObject()->className(), ClassOf(*c)) << c->Name;
        EXPECT_EQ(w.WidgetOf(c), widget) << c->Name;
        EXPECT_EQ(w.ControlOf(widget), c) << c->Name;
        QWidget* expectedParent =
            c->Container != nullptr ? w.WidgetOf(c->Container) : w.tabs()->widget(c->TabPage);
        EXPECT_EQ(widget->parentWidget(), expectedParent) << c->Name;
        EXPECT_EQ(widget->isEnabledTo(widget->parentWidget()), c->Enabled.get()) << c->Name;
        EXPECT_EQ(widget->isVisibleTo(widget->parentWidget()), c->Visible.get()) << c->Name;
    }
    EXPECT_GT(drawn, 100);
}

TEST_F(MainWindowTest, TabsAreOneTabWidgetWithTheSixPages) {
    QTabWidget* tabs = Get<QTabWidget>("Tabs");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs, w.tabs());
    const QStringList captions = {"Variable", "Borders", "Borders2", "Fixed", "Options", "About"};
    ASSERT_EQ(tabs->count(), captions.size());
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST_F(MainWindowTest, CaptionsAndListsAreTheModels) {
    for (Control* c : form.Controls()) {
        QWidget* widget = w.WidgetOf(c);
        if (widget == nullptr)
            continue;
        const std::string& name = c->Name;
        if (auto* l = c->As<Label>()) {
            EXPECT_EQ(static_cast<QLabel*>(widget)->text(), ToQString(l->Caption.get())) << name;
        }
        if (auto* b = c->As<CheckBox>()) {
            EXPECT_EQ(static_cast<QAbstractButton*>(widget)->text(), ToQString(b->Caption.get()))
                << name;
        }
        if (auto* o = c->As<OptionButton>()) {
            EXPECT_EQ(static_cast<QAbstractButton*>(widget)->text(), ToQString(o->Caption.get()))
                << name;
        }
        if (auto* b = c->As<CommandButton>()) {
            EXPECT_EQ(static_cast<QAbstractButton*>(widget)->text(), ToQString(b->Caption.get()))
                << name;
        }
        if (auto* f = c->As<Frame>(); f != nullptr && !f->Borderless) {
            EXPECT_EQ(static_cast<QGroupBox*>(widget)->title(), ToQString(f->Caption.get()))
                << name;
        }
        if (auto* combo = c->As<ComboBox>()) {
            auto* box = static_cast<QComboBox*>(widget);
            QStringList items;
            for (int i = 0; i < box->count(); ++i)
                items << box->itemText(i);
            QStringList expected;
            for (const Text& item : combo->Items)
                expected << ToQString(item);
            EXPECT_EQ(items, expected) << name;
        }
    }
    EXPECT_EQ(Get<QPushButton>("Apply")->text(), "&Apply ");
    EXPECT_EQ(Get<QPushButton>("btnAllBack")->text(), "|  <<");
    EXPECT_EQ(Get<QCheckBox>("chkBorder")->text(), "Include Borders");
    EXPECT_EQ(Get<QGroupBox>("frmTB")->title(), "Top Border ");
    EXPECT_EQ(Get<QLabel>("lblWidth")->text(), "   to total");
    const QStringList widths = {"40", "60", "80", "100"};
    auto* cmbWidth = Get<QComboBox>("cmbWidth");
    ASSERT_EQ(cmbWidth->count(), widths.size());
    for (int i = 0; i < cmbWidth->count(); ++i)
        EXPECT_EQ(cmbWidth->itemText(i), widths[i]);
    EXPECT_EQ(Get<QComboBox>("cmbSBSIndent")->count(), 5);
}

TEST_F(MainWindowTest, InitialStatesAndLimits) {
    EXPECT_FALSE(Get("frmTB")->isEnabled());
    EXPECT_FALSE(Get("txtTBLike")->isEnabled());  // through its frame
    EXPECT_TRUE(Get<QCheckBox>("chkFile")->isChecked());
    EXPECT_FALSE(Get<QCheckBox>("chkClip")->isChecked());
    EXPECT_TRUE(Get<QRadioButton>("optTBRepeat")->isChecked());
    EXPECT_FALSE(Get<QRadioButton>("optTBLike")->isChecked());
    EXPECT_TRUE(Get<QRadioButton>("optBBSame")->isChecked());
    EXPECT_TRUE(Get<QRadioButton>("optSBSBlankLine")->isChecked());
    EXPECT_EQ(Get<QLineEdit>("txtTBRepeat")->text(), "*");
    EXPECT_EQ(Get<QLineEdit>("txtSBSLeftLike")->text(), "**");
    EXPECT_EQ(Get<QLineEdit>("txtTBLike")->maxLength(), 100);
    EXPECT_EQ(Get<QLineEdit>("txtBBLike")->maxLength(), 100);
    EXPECT_EQ(Get<QLineEdit>("txtTBRepeat")->maxLength(), 6);
    EXPECT_EQ(Get<QLineEdit>("txtSBSRightLike")->maxLength(), 6);
    auto* slider = Get<QSlider>("Slider");
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 8);
    // The design-time frame of the right border hides its option button.
    EXPECT_LT(Get("optSBSRightLike")->geometry().right(), 0);
}

TEST_F(MainWindowTest, ControlsSitInTheirContainersAtTheirPlaces) {
    EXPECT_EQ(Get("txtBBLike")->parentWidget(), Get("frmBB"));
    EXPECT_EQ(Get("optBBSame")->parentWidget(), Get("optBBOption"));
    EXPECT_EQ(Get("optBBOption")->parentWidget(), Get("frmBB"));
    EXPECT_EQ(Get("chkBorder")->parentWidget(), w.tabs()->widget(1));
    EXPECT_EQ(Get("email")->parentWidget(), w.tabs()->widget(5));

    if (QGuiApplication::primaryScreen()->logicalDotsPerInchX() != 96)
        GTEST_SKIP() << "places are checked at 96 dots per inch";
    EXPECT_EQ(Get("chkBorder")->x(), 16);
    EXPECT_EQ(Get("cmdVarFile")->x(), 360);
    EXPECT_EQ(Get("txtBBLike")->x(), 80);  // relative to its frame
    EXPECT_EQ(Get("optBBRepeat")->y(), 24);
    EXPECT_EQ(Get("txtVar")->width(), 377);
    // Stacked controls keep their order from top to bottom.
    EXPECT_LT(Get("txtVarFile")->y(), Get("txtVar")->y());
    EXPECT_LT(Get("txtVar")->geometry().bottom(), Get("btnNew")->y());
    EXPECT_LT(Get("btnNew")->geometry().bottom(), Get("txtSignature")->y());
    EXPECT_LE(Get("txtSignature")->geometry().bottom(), Get("btnClose")->y());
    EXPECT_LT(Get("chkTray")->geometry().bottom(), Get("chkAutostart")->y());
    // The lowest controls stay inside their page.
    EXPECT_LE(Get("btnClose")->geometry().bottom(), w.tabs()->widget(0)->height());
    EXPECT_LE(Get("chkAutostart")->geometry().bottom(), w.tabs()->widget(0)->height());
    EXPECT_LE(Get("cmdApply2")->geometry().bottom(), w.tabs()->widget(1)->height());
}

// --- Model changes reach the widgets ---

TEST_F(MainWindowTest, CheckBoxValuesAndEnabledStatesAreDrawn) {
    form.chkBorder.Value = 1;
    EXPECT_TRUE(Get<QCheckBox>("chkBorder")->isChecked());
    EXPECT_TRUE(Get("frmTB")->isEnabled());
    EXPECT_TRUE(Get("txtTBLike")->isEnabled());
    EXPECT_TRUE(Get("chkSpace")->isEnabled());
    EXPECT_FALSE(Get("cmbFixWidth")->isVisibleTo(w.tabs()->widget(1)));

    form.chkClip.Value = 2;
    EXPECT_EQ(Get<QCheckBox>("chkClip")->checkState(), Qt::PartiallyChecked);
    form.chkClip.Value = 0;
    EXPECT_EQ(Get<QCheckBox>("chkClip")->checkState(), Qt::Unchecked);

    form.chkBorder.Value = 0;
    EXPECT_FALSE(Get("frmTB")->isEnabled());
    EXPECT_TRUE(Get("cmbFixWidth")->isVisibleTo(w.tabs()->widget(1)));
}

TEST_F(MainWindowTest, TextsCaptionsAndListChoicesAreDrawn) {
    form.txtFixed.Text = U"a\r\nb";
    EXPECT_EQ(Get<QPlainTextEdit>("txtFixed")->toPlainText(), "a\nb");
    form.txtTBRepeat.Text = U"-=";
    EXPECT_EQ(Get<QLineEdit>("txtTBRepeat")->text(), "-=");

    form.cmbWidth.Text = U"80";
    EXPECT_EQ(Get<QComboBox>("cmbWidth")->currentText(), "80");
    form.cmbWidth.Text = U"55";  // not an item: the model keeps 80
    EXPECT_EQ(Get<QComboBox>("cmbWidth")->currentText(), "80");

    form.lblFreq.Caption = U"3 Hours";
    EXPECT_EQ(Get<QLabel>("lblFreq")->text(), "3 Hours");
    form.Slider.Value = 7;
    EXPECT_EQ(Get<QSlider>("Slider")->value(), 7);
    EXPECT_EQ(Get<QLabel>("lblFreq")->text(), "12 Hours");

    form.Caption = U"Velmo - 1.23";
    EXPECT_EQ(w.windowTitle(), "Velmo - 1.23");
}

TEST_F(MainWindowTest, TabAndWindowVisibilityFollowTheModel) {
    form.Tabs.Tab = 3;
    EXPECT_EQ(w.tabs()->currentIndex(), 3);

    form.Visible = true;
    QApplication::processEvents();
    EXPECT_TRUE(w.isVisible());
    form.Visible = false;
    EXPECT_FALSE(w.isVisible());
    form.Show();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.tabs()->currentIndex(), 3);  // hiding keeps the tab
}

TEST_F(MainWindowTest, OptionGroupsAreKeptByTheModel) {
    auto* bbLike = Get<QRadioButton>("optBBLike");
    auto* bbSame = Get<QRadioButton>("optBBSame");
    form.optBBLike.Value = true;
    EXPECT_TRUE(bbLike->isChecked());
    EXPECT_FALSE(bbSame->isChecked());
    EXPECT_FALSE(Get<QRadioButton>("optBBRepeat")->isChecked());

    // A group may have none selected, which exclusive Qt buttons would refuse.
    auto* tbLike = Get<QRadioButton>("optTBLike");
    auto* tbRepeat = Get<QRadioButton>("optTBRepeat");
    form.optTBLike.Value = false;
    form.optTBRepeat.Value = false;
    EXPECT_FALSE(tbLike->isChecked());
    EXPECT_FALSE(tbRepeat->isChecked());

    // Buttons of other containers are other groups.
    form.optHTML.Value = true;
    EXPECT_TRUE(Get<QRadioButton>("optHTML")->isChecked());
    EXPECT_FALSE(Get<QRadioButton>("optText")->isChecked());
    EXPECT_TRUE(Get<QRadioButton>("optOrderVF")->isChecked());
    EXPECT_TRUE(bbLike->isChecked());
}

TEST_F(MainWindowTest, LinkLooksAreDrawn) {
    auto* email = Get<QLabel>("email");
    form.email.FontUnderline = true;
    form.email.ForeColor = colors::Blue;
    EXPECT_TRUE(email->font().underline());
    EXPECT_EQ(email->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 255));
    form.email.FontUnderline = false;
    form.email.ForeColor = colors::Black;
    EXPECT_FALSE(email->font().underline());
    EXPECT_EQ(email->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(Get("lblHTML")->palette().color(QPalette::Active, QPalette::WindowText),
              QColor(255, 0, 0));
}

TEST_F(MainWindowTest, ModelChangesDoNotComeBackAsInput) {
    int varChanges = 0;
    form.txtVar.Change += [&] { ++varChanges; };
    int clipClicks = 0;
    form.chkClip.Click += [&] { ++clipClicks; };
    int sliderChanges = 0;
    form.Slider.Change += [&] { ++sliderChanges; };

    form.txtVar.Text = U"one\r\ntwo";
    EXPECT_EQ(varChanges, 1);
    EXPECT_EQ(form.txtVar.Text.get(), U"one\r\ntwo");  // not rewritten from the editor
    form.chkClip.Value = 1;
    EXPECT_EQ(clipClicks, 1);
    form.Slider.Value = 3;
    EXPECT_EQ(sliderChanges, 1);
    form.Tabs.Tab = 2;
    EXPECT_EQ(form.Tabs.Tab.get(), 2);
    form.optRTF.Value = true;
    EXPECT_TRUE(form.optRTF.Value.get());
    EXPECT_FALSE(form.optText.Value.get());
}

// --- User input becomes model assignments ---

TEST_F(MainWindowTest, PushButtonsRunTheirClickHandlers) {
    ShowActive();
    QTest::mouseClick(Get<QPushButton>("btnNew"), Qt::LeftButton);
    EXPECT_EQ(form.IndNumber.Caption.get(), U"<<New Entry>> 1/1");
    EXPECT_EQ(Get<QLabel>("IndNumber")->text(), "<<New Entry>> 1/1");
    EXPECT_EQ(t.app.vars.EntryCount, 1);
}

TEST_F(MainWindowTest, ClickingACheckBoxSetsItsValueAndRunsItsHandler) {
    ShowActive();
    form.Tabs.Tab = 1;
    ClickCheckBox(Get<QCheckBox>("chkBorder"));
    EXPECT_EQ(form.chkBorder.Value.get(), 1);
    EXPECT_TRUE(Get("frmTB")->isEnabled());  // its handler enabled the border controls

    form.Tabs.Tab = 2;
    int clicks = 0;
    form.chkSpace.Click += [&] { ++clicks; };
    auto* space = Get<QCheckBox>("chkSpace");
    ClickCheckBox(space);
    EXPECT_EQ(form.chkSpace.Value.get(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(space->isChecked());
    ClickCheckBox(space);
    EXPECT_EQ(form.chkSpace.Value.get(), 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(space->isChecked());
}

TEST_F(MainWindowTest, ClickingAGreyedCheckBoxChecksIt) {
    ShowActive();
    form.Tabs.Tab = 4;
    form.chkClip.Value = 2;
    auto* clip = Get<QCheckBox>("chkClip");
    ClickCheckBox(clip);
    EXPECT_EQ(form.chkClip.Value.get(), 1);
    EXPECT_EQ(clip->checkState(), Qt::Checked);
    ClickCheckBox(clip);
    EXPECT_EQ(form.chkClip.Value.get(), 0);
    EXPECT_EQ(clip->checkState(), Qt::Unchecked);
}

TEST_F(MainWindowTest, ClickingAnOptionButtonSelectsItInItsGroup) {
    ShowActive();
    form.Tabs.Tab = 4;
    auto* html = Get<QRadioButton>("optHTML");
    auto* text = Get<QRadioButton>("optText");
    ClickCheckBox(html);
    EXPECT_TRUE(form.optHTML.Value.get());
    EXPECT_FALSE(form.optText.Value.get());
    EXPECT_TRUE(html->isChecked());
    EXPECT_FALSE(text->isChecked());

    // Clicking the selected button again keeps it selected.
    ClickCheckBox(html);
    EXPECT_TRUE(form.optHTML.Value.get());
    EXPECT_TRUE(html->isChecked());

    form.Tabs.Tab = 1;
    form.chkBorder.Value = 1;
    ClickCheckBox(Get<QRadioButton>("optBBLike"));
    EXPECT_TRUE(form.optBBLike.Value.get());
    EXPECT_FALSE(form.optBBSame.Value.get());
    EXPECT_FALSE(Get<QRadioButton>("optBBSame")->isChecked());
    EXPECT_TRUE(Get<QRadioButton>("optTBRepeat")->isChecked());  // another group
}

TEST_F(MainWindowTest, TypingIntoALikeBorderSelectsItAndCountsBeforeTheKey) {
    ShowActive();
    form.Tabs.Tab = 1;
    form.chkBorder.Value = 1;
    auto* like = Get<QLineEdit>("txtTBLike");
    QTest::keyClicks(like, "abc");
    EXPECT_EQ(like->text(), "abc");
    EXPECT_EQ(form.txtTBLike.Text.get(), U"abc");
    EXPECT_EQ(form.lblTBLen.Caption.get(), U"2");
    EXPECT_EQ(Get<QLabel>("lblTBLen")->text(), "2");
    EXPECT_TRUE(form.optTBLike.Value.get());
    EXPECT_TRUE(Get<QRadioButton>("optTBLike")->isChecked());
    EXPECT_FALSE(Get<QRadioButton>("optTBRepeat")->isChecked());

    QTest::keyClick(like, Qt::Key_Backspace);
    EXPECT_EQ(form.txtTBLike.Text.get(), U"ab");
    EXPECT_EQ(form.lblTBLen.Caption.get(), U"3");
}

TEST_F(MainWindowTest, TheLineEditKeepsTheMaximumLength) {
    ShowActive();
    form.Tabs.Tab = 1;
    form.chkBorder.Value = 1;
    QTest::keyClicks(Get<QLineEdit>("txtTBRepeat"), "12345678");
    EXPECT_EQ(form.txtTBRepeat.Text.get(), U"*12345");
    EXPECT_TRUE(form.optTBRepeat.Value.get());
}

TEST_F(MainWindowTest, TypingIntoTheMainPreviewChangesNothing) {
    ShowActive();
    form.txtSignature.Text = U"Signature\r\nline two";
    auto* preview = Get<QPlainTextEdit>("txtSignature");
    preview->moveCursor(QTextCursor::End);
    int changes = 0;
    form.txtSignature.Change += [&] { ++changes; };
    QTest::keyClicks(preview, "xyz 1");
    QTest::keyClick(preview, Qt::Key_Backspace);
    QTest::keyClick(preview, Qt::Key_Return);
    EXPECT_EQ(preview->toPlainText(), "Signature\nline two");
    EXPECT_EQ(form.txtSignature.Text.get(), U"Signature\r\nline two");
    EXPECT_EQ(changes, 0);
}

TEST_F(MainWindowTest, TypingIntoTheOtherPreviewsIsKept) {
    ShowActive();
    form.Tabs.Tab = 3;
    auto* preview = Get<QPlainTextEdit>("txtSignature1");
    QTest::keyClicks(preview, "hi");
    EXPECT_EQ(form.txtSignature1.Text.get(), U"hi");
}

TEST_F(MainWindowTest, TypingIntoTheEntryEditorReachesTheEntries) {
    ShowActive();
    auto* editor = Get<QPlainTextEdit>("txtVar");
    QTest::keyClicks(editor, "hi");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "yo");
    EXPECT_EQ(form.txtVar.Text.get(), U"hi\r\nyo");
    EXPECT_EQ(t.app.vars.EntryCount, 1);
    EXPECT_EQ(t.app.vars.Entries[1], U"hi\r\nyo");
    EXPECT_EQ(Get<QLabel>("IndNumber")->text(), "Entry: 1/1");
}

TEST_F(MainWindowTest, AHugeTextIsShownCutAndKeptWholeInTheModel) {
    ShowActive();
    const Text word(10'000'000, U'x');
    for (TextBox* box : {&form.txtSignature, &form.txtVar}) {
        box->Text = word;
        QApplication::processEvents();
        auto* edit = static_cast<QPlainTextEdit*>(w.WidgetOf(box));
        const QString shown = edit->toPlainText();
        EXPECT_LT(shown.size(), 100'000) << box->Name;
        EXPECT_TRUE(shown.startsWith(QString(1000, QLatin1Char('x')))) << box->Name;
        EXPECT_TRUE(shown.contains(QChar(0x2026))) << box->Name;  // an ellipsis: more follows
        // Typing into what is shown must not cut the model's text down to it.
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, "y");
        EXPECT_EQ(box->Text.get(), word) << box->Name;
    }
    EXPECT_EQ(t.app.vars.Entries[1], word);

    form.txtVar.Text = U"short";
    QTest::keyClicks(Get<QPlainTextEdit>("txtVar"), "y");
    EXPECT_EQ(form.txtVar.Text.get(), U"yshort");
}

TEST_F(MainWindowTest, ChoosingAComboItemSetsTheModelText) {
    ShowActive();
    form.Tabs.Tab = 1;
    auto* width = Get<QComboBox>("cmbFixWidth");
    width->setCurrentIndex(2);
    emit width->textActivated(width->currentText());
    EXPECT_EQ(form.cmbFixWidth.Text.get(), U"80");

    width->setFocus();
    QTest::keyClick(width, Qt::Key_Down);
    EXPECT_EQ(width->currentText(), "100");
    EXPECT_EQ(form.cmbFixWidth.Text.get(), U"100");
}

TEST_F(MainWindowTest, MovingTheSliderSetsTheIntervalAndItsLabel) {
    auto* slider = Get<QSlider>("Slider");
    slider->setValue(4);
    EXPECT_EQ(form.Slider.Value.get(), 4);
    EXPECT_EQ(form.Slider.Tag.get(), U"3600");
    EXPECT_EQ(Get<QLabel>("lblFreq")->text(), "1 Hour");
    slider->setValue(0);
    EXPECT_EQ(Get<QLabel>("lblFreq")->text(), "Never");
}

TEST_F(MainWindowTest, SwitchingTabsSetsTheModelTab) {
    w.tabs()->setCurrentIndex(4);
    EXPECT_EQ(form.Tabs.Tab.get(), 4);
    w.tabs()->tabBar()->setCurrentIndex(2);
    EXPECT_EQ(form.Tabs.Tab.get(), 2);
}

// --- Focus ---

TEST_F(MainWindowTest, LeavingTheEntryEditorAsksToSave) {
    ShowActive();
    auto* editor = Get("txtVar");
    editor->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), editor) << "the window did not become active";
    EXPECT_EQ(form.ActiveControl(), &form.txtVar);
    t.messages.shown.clear();

    Get("btnRandomize")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form.ActiveControl(), &form.btnRandomize);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, U"Do you want to Save Variable Text you just entered ?");
    EXPECT_EQ(t.messages.shown[0].style, msgbox::YesNoCriticalNoDefault);
}

TEST_F(MainWindowTest, ModelFocusMovesTheQtFocus) {
    ShowActive();
    Get("btnRandomize")->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(form.ActiveControl(), &form.btnRandomize) << "the Qt focus did not reach the model";

    form.txtVar.SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Get("txtVar"));
    EXPECT_EQ(form.ActiveControl(), &form.txtVar);

    // A disabled control takes no focus in either.
    form.chkVar.Value = 1;
    form.chkVar.Value = 0;  // disables the editor
    form.btnNew.SetFocus();
    EXPECT_FALSE(form.txtVar.SetFocus());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Get("btnNew"));
}

// --- Mouse ---

TEST_F(MainWindowTest, HoveringALinkLabelUnderlinesItUntilThePageIsCrossed) {
    ShowActive();
    form.Tabs.Tab = 5;
    QApplication::processEvents();
    Move(Get("email"));
    EXPECT_TRUE(form.email.FontUnderline.get());
    EXPECT_EQ(form.email.ForeColor.get(), colors::Blue);
    EXPECT_TRUE(Get("email")->font().underline());
    EXPECT_FALSE(form.ulrHomePage.FontUnderline.get());

    Move(Get("ulrHomePage"));
    EXPECT_TRUE(form.ulrHomePage.FontUnderline.get());
    EXPECT_TRUE(form.email.FontUnderline.get());

    Move(w.tabs()->widget(5), QPoint(5, 5));
    EXPECT_FALSE(form.email.FontUnderline.get());
    EXPECT_FALSE(form.ulrHomePage.FontUnderline.get());
    EXPECT_EQ(form.email.ForeColor.get(), colors::Black);
    EXPECT_FALSE(Get("email")->font().underline());

    Move(Get("email"));
    Move(w.tabs()->tabBar(), QPoint(10, 5));
    EXPECT_FALSE(form.email.FontUnderline.get());
}

TEST_F(MainWindowTest, HoveringOtherLabelsChangesNoLink) {
    ShowActive();
    form.Tabs.Tab = 5;
    Move(Get("email"));
    for (const char* name : {"lblHTML", "lblVersion", "lblDescription", "imgIcon"})
        Move(Get(name));
    EXPECT_TRUE(form.email.FontUnderline.get());
    EXPECT_FALSE(form.ulrHomePage.FontUnderline.get());
}

TEST_F(MainWindowTest, ClickingTheHomePageLinkOpensTheBrowser) {
    ShowActive();
    form.Tabs.Tab = 5;
    QTest::mouseClick(Get("ulrHomePage"), Qt::LeftButton);
    ASSERT_EQ(t.browser.opened.size(), 1u);
    EXPECT_EQ(t.browser.opened[0], Text(HomePageAddress));
    QTest::mouseClick(Get("lblHTML"), Qt::LeftButton);
    EXPECT_EQ(t.browser.opened.size(), 1u);
}

// --- Window state ---

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgram) {
    Form_Load(t.app);
    ASSERT_TRUE(t.icon.shown);
    form.Show();
    QApplication::processEvents();
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(t.icon.shown);
    EXPECT_EQ(t.program.exits, 1);
}

TEST_F(MainWindowTest, MinimizingIsKeptInTheModel) {
    t.icon.available = false;  // then the tray button minimizes instead of hiding
    ShowActive();
    QTest::mouseClick(Get<QPushButton>("btnHide"), Qt::LeftButton);
    EXPECT_TRUE(w.isMinimized());
    w.showNormal();
    EXPECT_FALSE(form.Minimized.get());
    QTest::mouseClick(Get<QPushButton>("btnHide"), Qt::LeftButton);
    EXPECT_TRUE(w.isMinimized());
}

// The program's model lives longer than its window: changes after the
// window is gone, and the focus moves of its own teardown, must reach nothing.
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
    t.app.form.txtVar.Text = U"still works";
    EXPECT_EQ(t.app.form.txtVar.Text.get(), U"still works");
    EXPECT_EQ(t.app.form.ActiveControl(), &t.app.form.txtVar);
}

// What a widget shows, in one line, to compare two windows by.
std::string Drawn(const MainWindow& window, Control& c) {
    QWidget* w = window.WidgetOf(&c);
    if (w == nullptr)
        return "";
    QString shown = QStringLiteral("%1 enabled=%2 visible=%3 ")
                        .arg(c.Name.c_str())
                        .arg(w->isEnabled())
                        .arg(w->isVisibleTo(&const_cast<MainWindow&>(window)));
    if (auto* label = qobject_cast<QLabel*>(w))
        shown += label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        shown += button->text() + QString::number(button->isChecked());
    if (auto* box = qobject_cast<QCheckBox*>(w))
        shown += QString::number(box->checkState());
    if (auto* line = qobject_cast<QLineEdit*>(w))
        shown += line->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
        shown += edit->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        shown += combo->currentText();
    if (auto* slider = qobject_cast<QSlider*>(w))
        shown += QString::number(slider->value());
    if (auto* group = qobject_cast<QGroupBox*>(w))
        shown += group->title();
    return shown.toStdString();
}

TEST(MainWindowBuiltLateTest, DrawsWhatStartUpLeftInTheModel) {
    testing::TestApp early;
    MainWindow before{early.app};
    ASSERT_TRUE(Main(early.app));

    testing::TestApp late;
    ASSERT_TRUE(Main(late.app));
    MainWindow after{late.app};

    ASSERT_EQ(early.app.form.Controls().size(), late.app.form.Controls().size());
    for (size_t i = 0; i < early.app.form.Controls().size(); ++i) {
        EXPECT_EQ(Drawn(after, *late.app.form.Controls()[i]),
                  Drawn(before, *early.app.form.Controls()[i]));
    }
    EXPECT_FALSE(after.windowTitle().isEmpty());
    EXPECT_EQ(after.windowTitle(), before.windowTitle());
    EXPECT_EQ(after.isVisible(), before.isVisible());
    EXPECT_EQ(after.isVisible(), late.app.form.Visible.get());
    EXPECT_EQ(after.tabs()->currentIndex(), before.tabs()->currentIndex());
}

TEST(MainWindowBuiltLateTest, ShowsItselfWhenTheModelIsShown) {
    testing::TestApp t;
    t.app.form.Caption = U"Velmo - 1.00";
    t.app.form.Show();
    MainWindow w{t.app};
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Velmo - 1.00"));
}

}  // namespace
}  // namespace velmo
