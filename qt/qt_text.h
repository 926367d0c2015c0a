#pragma once

#include <QString>

#include "domain/text.h"

namespace velmo {

inline QString ToQString(TextView text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

inline Text FromQString(const QString& text) {
    return text.toStdU32String();
}

// The window's line breaks are CR LF; Qt's editors hold LF alone.
QString ToEditorText(TextView text);
Text FromEditorText(const QString& text);

}  // namespace velmo
