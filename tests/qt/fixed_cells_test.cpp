#include "qt/fixed_cells.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextLayout>
#include <vector>

#include "domain/columns.h"
#include "qt/qt_text.h"

namespace velmo {
namespace {

// Where each line of the editor ends, in pixels from its left edge.
std::vector<qreal> LineEnds(QPlainTextEdit& edit) {
    std::vector<qreal> ends;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        const QTextLine line = block.layout()->lineAt(0);
        ends.push_back(line.cursorToX(block.length() - 1));
    }
    return ends;
}

// Rows of the same columns, whatever fonts draw their characters, end at the
// same place, however the font is changed later.
TEST(FixedCellsTest, RowsOfEqualColumnsEndTogether) {
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    new FixedCells(&edit);
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(8.25);
    edit.setFont(font);
    // Each row framed at 40 columns by the layout's own count.
    QStringList rows;
    for (const char* content :
         {"Jane Doe", "\u6771\u4eac Example Ltd.",
          "\u543e\u8f29\u306f\u732b\u3067\u3042\u308b\u3002",
          "Thumbs \U0001F44D up, \U0001F468\u200d\U0001F469\u200d\U0001F467 \U0001F1EF\U0001F1F5",
          "cafe\u0301 \u00e9t\u00e9 \u0416 \u05e9\u05dc\u05d5\u05dd"}) {
        const QString text = QString::fromUtf8(content);
        const size_t columns = Columns(FromQString(text));
        rows << QStringLiteral("* ") + text + QString(40 - static_cast<int>(columns), u' ') +
                    QStringLiteral("*");
    }
    edit.setPlainText(rows.join(u'\n'));
    edit.resize(600, 200);
    edit.show();
    QApplication::processEvents();
    std::vector<qreal> ends = LineEnds(edit);
    ASSERT_EQ(ends.size(), 5u);
    for (size_t i = 1; i < ends.size(); ++i)
        EXPECT_NEAR(ends[i], ends[0], 0.5) << "line " << i;

    font.setPointSizeF(14);
    edit.setFont(font);
    QApplication::processEvents();
    ends = LineEnds(edit);
    for (size_t i = 1; i < ends.size(); ++i)
        EXPECT_NEAR(ends[i], ends[0], 0.5) << "line " << i << " after the font changed";
}

// Typed text is fitted too, and the spacing is no step of its own to undo.
TEST(FixedCellsTest, TypedWideTextFitsAndUndoesInOneStep) {
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    new FixedCells(&edit);
    edit.setFont(QFont(QStringLiteral("Liberation Mono"), 9));
    edit.setPlainText(QStringLiteral("abcd|\nxy|"));  // the wide one goes between x and y
    QTextCursor cursor(edit.document());
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::Right);
    cursor.insertText(QString::fromUtf8("\u6771"));
    edit.resize(300, 100);
    edit.show();
    QApplication::processEvents();
    const std::vector<qreal> ends = LineEnds(edit);
    EXPECT_NEAR(ends[1], ends[0], 0.5);
    edit.undo();
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("abcd|\nxy|"));
}

}  // namespace
}  // namespace velmo
