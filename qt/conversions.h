#pragma once

// What the Qt layer derives from the window's own values: file-dialog
// filters, message-box looks, sizes.

#include <QMessageBox>
#include <QString>

#include "domain/text.h"

namespace velmo {

// "Text (*.txt)|*.txt|All Files (*.*)|*.*|" as a Qt filter list:
// "Text (*.txt);;All Files (*)", with "*.*" matching every file.
QString ToQtFilter(TextView filter);

struct MessageBoxLook {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    QMessageBox::StandardButton escapeButton = QMessageBox::Ok;
};

// The buttons, icon and default button of a message-box style number.
MessageBoxLook LookOfStyle(int style);

// A pressed button as the style's answer number (Yes = 6, No = 7, ...).
int AnswerOf(QMessageBox::StandardButton button);

}  // namespace velmo
