#include "qt/conversions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <string>
#include <utility>
#include <vector>

#include "platform/ports.h"
#include "qt/qt_ports.h"
#include "qt/qt_text.h"
#include "support/native_forms.h"
#include "ui/output_selection.h"

namespace velmo {
namespace {

TEST(ToQtFilterTest, EveryFilterOfTheProgramBecomesAQtFilterList) {
    const std::vector<std::pair<TextView, QString>> cases = {
        {filters::TextFiles, "Text Files (*.txt);;Pegasus Mail (*.pms);;All Files (*)"},
        {filters::HtmlFiles, "HTML Files (*.htm)"},
        {filters::RichTextFiles, "Rich Text (*.rtf)"},
        {filters::AllFiles, "All Files (*)"},
        {filters::HtmlTypeFiles, "HTML Files (*.htm);;All Files (*)"},
        {filters::RichTextTypeFiles, "Rich Text Files (*.rtf);;All Files (*)"},
        {filters::TextTypeFiles, "Text Files (*.txt);;Pegasus Files (Inetsig*.pms);;All Files (*)"},
        {U"All Files (*.*)|*.*|Text (*.txt)|*.txt|Pegasus (*.pms)|*.pms|HTML (*.htm)|*.htm|"
         U"Rich Text (*.rtf)|*.rtf|",
         "All Files (*);;Text (*.txt);;Pegasus (*.pms);;HTML (*.htm);;Rich Text (*.rtf)"},
        {U"Fixed Text Files (*.fxt)|*.fxt|", "Fixed Text Files (*.fxt)"},
        // Without the closing bar the last pair still counts.
        {U"Text (*.txt)|*.txt", "Text (*.txt)"},
    };
    for (const auto& [filter, expected] : cases) {
        EXPECT_EQ(ToQtFilter(filter), expected) << ToUtf8(Text(filter));
    }
}

TEST(ToQtFilterTest, PatternsComeFromThePatternFieldNotTheDescription) {
    // Qt matches what is in the parentheses, so they must hold the real patterns.
    EXPECT_EQ(ToQtFilter(U"Pictures|*.bmp;*.gif|"), "Pictures (*.bmp *.gif)");
    EXPECT_EQ(ToQtFilter(U"Signatures (*.sig)|*.txt|"), "Signatures (*.txt)");
    EXPECT_EQ(ToQtFilter(U""), "");
}

TEST(LookOfStyleTest, StylesTheProgramUses) {
    const MessageBoxLook ok = LookOfStyle(msgbox::OkOnly);
    EXPECT_EQ(ok.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(ok.icon, QMessageBox::NoIcon);
    EXPECT_EQ(ok.defaultButton, QMessageBox::Ok);
    EXPECT_EQ(ok.escapeButton, QMessageBox::Ok);

    const MessageBoxLook yesNo = LookOfStyle(msgbox::YesNoCritical);
    EXPECT_EQ(yesNo.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yesNo.icon, QMessageBox::Critical);
    EXPECT_EQ(yesNo.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(yesNo.escapeButton, QMessageBox::No);

    const MessageBoxLook warning = LookOfStyle(msgbox::OkExclamation);
    EXPECT_EQ(warning.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.defaultButton, QMessageBox::Ok);

    const MessageBoxLook okCancel = LookOfStyle(msgbox::OkCancelExclamation);
    EXPECT_EQ(okCancel.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(okCancel.icon, QMessageBox::Warning);
    EXPECT_EQ(okCancel.defaultButton, QMessageBox::Ok);
    EXPECT_EQ(okCancel.escapeButton, QMessageBox::Cancel);

    const MessageBoxLook noDefault = LookOfStyle(msgbox::YesNoCriticalNoDefault);
    EXPECT_EQ(noDefault.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(noDefault.icon, QMessageBox::Critical);
    EXPECT_EQ(noDefault.defaultButton, QMessageBox::No);
    EXPECT_EQ(noDefault.escapeButton, QMessageBox::No);
}

TEST(AnswerOfTest, PressedButtonsGiveTheStyleAnswers) {
    EXPECT_EQ(AnswerOf(QMessageBox::Yes), msgbox::Yes);
    EXPECT_EQ(AnswerOf(QMessageBox::No), msgbox::No);
    EXPECT_EQ(AnswerOf(QMessageBox::Ok), msgbox::Ok);
    EXPECT_EQ(AnswerOf(QMessageBox::Cancel), msgbox::Cancel);
    EXPECT_EQ(msgbox::Yes, 6);
    EXPECT_EQ(msgbox::No, 7);
    EXPECT_EQ(msgbox::Ok, 1);
    EXPECT_EQ(msgbox::Cancel, 2);
}

TEST(EditorTextTest, LineBreaksRoundTripBetweenCrLfAndLf) {
    const Text text = U"first\r\nsecond\r\n\r\nlast";
    EXPECT_EQ(ToEditorText(text), "first\nsecond\n\nlast");
    EXPECT_EQ(FromEditorText(ToEditorText(text)), text);
    // An editor may hand back a lone CR; the window's texts only know CR LF.
    EXPECT_EQ(FromEditorText(QStringLiteral("a\rb\r\nc\nd")), U"a\r\nb\r\nc\r\nd");
}

TEST(EditorTextTest, CharactersOutsideTheBasicPlaneSurvive) {
    const Text text = U"caf\u00e9 \U0001F600\r\n\u00a9";
    EXPECT_EQ(ToEditorText(text).size(), 9);  // the emoji takes two UTF-16 units
    EXPECT_EQ(FromEditorText(ToEditorText(text)), text);
    EXPECT_EQ(FromQString(ToQString(text)), text);
}

TEST(QtClipboardTest, CopiesAreInThePlatformsLineEnds) {
    // Other programs paste it: LF on POSIX, CR LF on Windows.
    QtClipboard().SetText(U"a\r\nb\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromStdString(testing::NativeFileBytes("a\r\nb\r\n")));
}

}  // namespace
}  // namespace velmo
