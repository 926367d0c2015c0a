#pragma once

// What the Qt layer derives from the window's own values: file-dialog
// filters, message-box looks, sizes.

#include <QMessageBox>
#include <QString>

#include "domain/text.h"
#include "platform/ports.h"

namespace velmo {

// A dialog's list of types as Qt's filter list, "Text (*.txt);;All Files (*)":
// Qt reads the patterns from the parentheses, so they replace any the
// description has.
QString ToQtFilter(const FileFilters& filters);

struct MessageBoxLook {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    QMessageBox::StandardButton escapeButton = QMessageBox::Ok;
};

// The buttons, icon, default and Escape buttons of a message style.
MessageBoxLook LookOfStyle(const MessageStyle& style);

// A pressed button as the answer it gives.
Answer AnswerOf(QMessageBox::StandardButton button);

}  // namespace velmo
