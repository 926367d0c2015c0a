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

namespace velmo {
namespace {

TEST(ConversionsTest, FiltersBecomeQtFilterListsWithTheirRealPatterns) {
    const std::vector<std::pair<FileFilters, std::string>> cases = {
        {{{U"All Files (*.*)", {U"*"}}, {U"Rich Text (*.rtf)", {U"*.rtf"}}},
         "All Files (*);;Rich Text (*.rtf)"},
        // Qt matches what is in the parentheses, so they must hold the real patterns.
        {{{U"Pictures", {U"*.bmp", U"*.gif"}}}, "Pictures (*.bmp *.gif)"},
        {{{U"Signatures (*.sig)", {U"*.txt"}}}, "Signatures (*.txt)"},
        {{{U"Caf\u00e9 (old) (*.c\u00e9)", {U"*.c\u00e9"}}}, "Caf\u00e9 (old) (*.c\u00e9)"},
        // An entry without a description or without a pattern is left out.
        {{{U"", {U"*.htm"}}, {U"A", {}}, {U"B", {U""}}, {U"Text (*.txt)", {U"*.txt"}}},
         "Text (*.txt)"},
        {{}, ""},
    };
    for (const auto& [filters, expected] : cases)
        EXPECT_EQ(ToQtFilter(filters).toStdString(), expected) << expected;
}

TEST(ConversionsTest, MessageBoxStylesGiveTheirButtonsIconAndAnswers) {
    using B = QMessageBox;
    const struct {
        MessageStyle style;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        Answer defaultAnswer, escapeAnswer;
    } rows[] = {
        {message::Notice, B::Ok, B::NoIcon, Answer::Ok, Answer::Ok},
        {message::Warning, B::Ok, B::Warning, Answer::Ok, Answer::Ok},
        {message::ErrorYesNo, B::Yes | B::No, B::Critical, Answer::Yes, Answer::No},
        {message::WarningOkCancel, B::Ok | B::Cancel, B::Warning, Answer::Ok, Answer::Cancel},
        {message::ErrorYesNoDefaultNo, B::Yes | B::No, B::Critical, Answer::No, Answer::No},
        {message::WarningYesNoCancelDefaultCancel, B::Yes | B::No | B::Cancel, B::Warning,
         Answer::Cancel, Answer::Cancel},
        // A default the box has no button for leaves the first one the default.
        {{MessageButtons::YesNo, MessageIcon::None, Answer::Cancel},
         B::Yes | B::No,
         B::NoIcon,
         Answer::Yes,
         Answer::No},
    };
    int row_number = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row_number++);
        const MessageBoxLook look = LookOfStyle(row.style);
        EXPECT_EQ(look.buttons, row.buttons);
        EXPECT_EQ(look.icon, row.icon);
        EXPECT_EQ(AnswerOf(look.defaultButton), row.defaultAnswer);
        EXPECT_EQ(AnswerOf(look.escapeButton), row.escapeAnswer);
    }
}

TEST(ConversionsTest, EditorTextsHaveLfForCrLfAndClipboardTextsThePlatformsLineEnds) {
    const std::pair<Text, QString> cases[] = {
        {U"first\r\nsecond\r\n\r\nlast", "first\nsecond\n\nlast"},
        {U"caf\u00e9 \U0001F600\r\n\u00a9", QString::fromUtf8("caf\u00e9 \U0001F600\n\u00a9")},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(ToEditorText(text), shown);
        EXPECT_EQ(FromEditorText(shown), text);
    }
    // A file name's byte that is not UTF-8 (a lone surrogate) shows as U+FFFD.
    EXPECT_EQ(ToQString(FromPathBytes("/caf\xE9/")), QString::fromUtf8("/caf\uFFFD/"));
    // An editor may hand back a lone CR; the window's texts only know CR LF.
    EXPECT_EQ(FromEditorText(QStringLiteral("a\rb\r\nc\nd")), U"a\r\nb\r\nc\r\nd");
    // Other programs paste the clipboard: LF on POSIX, CR LF on Windows.
    QtClipboard().SetText(U"a\r\nb\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromStdString(testing::NativeFileBytes("a\r\nb\r\n")));
}

}  // namespace
}  // namespace velmo
