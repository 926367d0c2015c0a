#include "qt/conversions.h"

#include <QStringList>

#include "qt/qt_text.h"

namespace velmo {

QString ToEditorText(TextView text) {
    QString s = ToQString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

Text FromEditorText(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return FromQString(s);
}

QString ToQtFilter(TextView filter) {
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        if (description.isEmpty() || patterns.isEmpty())
            continue;
        // Qt reads the patterns from the parentheses of the description.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            description = description.left(open).trimmed();
        entries << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

MessageBoxLook LookOfStyle(int style) {
    MessageBoxLook look;
    switch (style & 7) {
        case 1:
            look.buttons = QMessageBox::Ok | QMessageBox::Cancel;
            look.defaultButton = QMessageBox::Ok;
            look.escapeButton = QMessageBox::Cancel;
            break;
        case 3:
            look.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            look.defaultButton = QMessageBox::Yes;
            look.escapeButton = QMessageBox::Cancel;
            break;
        case 4:
            look.buttons = QMessageBox::Yes | QMessageBox::No;
            look.defaultButton = QMessageBox::Yes;
            look.escapeButton = QMessageBox::No;
            break;
        default:
            break;
    }
    switch (style & 0x70) {
        case 16:
            look.icon = QMessageBox::Critical;
            break;
        case 32:
            look.icon = QMessageBox::Question;
            break;
        case 48:
            look.icon = QMessageBox::Warning;
            break;
        case 64:
            look.icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    if ((style & 0x300) == 256) {
        // The second button is the default.
        if ((style & 7) == 4 || (style & 7) == 3)
            look.defaultButton = QMessageBox::No;
        if ((style & 7) == 1)
            look.defaultButton = QMessageBox::Cancel;
    }
    if ((style & 0x300) == 512 && (style & 7) == 3)
        look.defaultButton = QMessageBox::Cancel;
    return look;
}

int AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return 1;
        case QMessageBox::Cancel:
            return 2;
        case QMessageBox::Yes:
            return 6;
        case QMessageBox::No:
            return 7;
        default:
            return 2;
    }
}

}  // namespace velmo
