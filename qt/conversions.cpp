#include "qt/conversions.h"

#include <QStringList>

#include "qt/qt_text.h"
#include "ui/front_end.h"

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

QString ToQtFilter(const FileFilters& filters) {
    QStringList entries;
    for (const FileFilter& filter : ListedFilters(filters)) {
        QString description = ToQString(filter.description);
        QStringList patterns;
        for (const Text& pattern : filter.patterns)
            patterns << ToQString(pattern);
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            description = description.left(open).trimmed();
        entries << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

namespace {

QMessageBox::StandardButton ButtonOf(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return QMessageBox::Ok;
        case Answer::Cancel:
            return QMessageBox::Cancel;
        case Answer::Yes:
            return QMessageBox::Yes;
        case Answer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

}  // namespace

MessageBoxLook LookOfStyle(const MessageStyle& style) {
    const MessageChoices choices = ChoicesOf(style);
    MessageBoxLook look;
    look.buttons = {};
    for (const Answer answer : choices.buttons)
        look.buttons |= ButtonOf(answer);
    look.defaultButton = ButtonOf(choices.defaultAnswer);
    look.escapeButton = ButtonOf(choices.escapeAnswer);
    switch (style.icon) {
        case MessageIcon::None:
            break;
        case MessageIcon::Error:
            look.icon = QMessageBox::Critical;
            break;
        case MessageIcon::Warning:
            look.icon = QMessageBox::Warning;
            break;
    }
    return look;
}

Answer AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

}  // namespace velmo
