#pragma once

#include <QHash>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QPlainTextEdit;

namespace velmo {

// Draws a fixed-pitch editor's text in the display columns the layout counts:
// each grapheme cluster that is not plain ASCII (a wide ideograph, an emoji,
// a letter from a fallback font) gets the space after it that makes its
// advance exactly its columns times the width of one column. Fallback fonts
// draw CJK and emoji at their own widths, which would leave a bordered
// signature's right border ragged on screen although the text is right.
// The spacing is a highlighter's format: it is not part of the text nor of
// the editor's undo steps, and follows the text as it is typed.
class FixedCells : public QSyntaxHighlighter {
  public:
    // Follows the editor's document, measured in the editor's font as it
    // is now and after each change of it.
    explicit FixedCells(QPlainTextEdit* editor);

  protected:
    void highlightBlock(const QString& text) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPlainTextEdit* editor_;
    QHash<QString, QTextCharFormat> formats_;  // by cluster, empty when it fits already
};

}  // namespace velmo
