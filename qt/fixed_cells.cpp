#include "qt/fixed_cells.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <algorithm>
#include <cmath>

#include "domain/columns.h"
#include "qt/qt_text.h"

namespace velmo {

FixedCells::FixedCells(QPlainTextEdit* editor)
    : QSyntaxHighlighter(editor->document()), editor_(editor) {
    editor->installEventFilter(this);
}

bool FixedCells::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::FontChange) {
        formats_.clear();
        rehighlight();
    }
    return QSyntaxHighlighter::eventFilter(watched, event);
}

void FixedCells::highlightBlock(const QString& text) {
    const auto plain = [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; };
    if (std::all_of(text.begin(), text.end(), plain))
        return;
    const QFontMetricsF metrics(editor_->font());
    const qreal column = metrics.horizontalAdvance(QLatin1Char('x'));
    const Text line = FromQString(text);
    int at = 0;  // the cluster's start in UTF-16 units
    for (size_t start = 0; start < line.size();) {
        const size_t end = NextClusterEnd(line, start);
        const TextView cluster = TextView(line).substr(start, end - start);
        const QString shown =
            QString::fromUcs4(cluster.data(), static_cast<qsizetype>(cluster.size()));
        const int length = static_cast<int>(shown.size());
        if (!(length == 1 && plain(shown[0]))) {
            auto found = formats_.find(shown);
            if (found == formats_.end()) {
                QTextCharFormat format;
                const int columns = ClusterColumns(cluster);
                const qreal extra = columns * column - metrics.horizontalAdvance(shown);
                // Lone marks and joiners take no column and are left as drawn.
                if (columns > 0 && std::abs(extra) > 0.01) {
                    format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
                    format.setFontLetterSpacing(extra);
                }
                found = formats_.insert(shown, format);
            }
            if (!found->properties().isEmpty())
                setFormat(at, length, *found);
        }
        at += length;
        start = end;
    }
}

}  // namespace velmo
