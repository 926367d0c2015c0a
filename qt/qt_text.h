#pragma once

#include <QString>

#include "domain/text.h"

namespace velmo {

// A file name's bytes that are not UTF-8 show as U+FFFD.
inline QString ToQString(TextView text) {
    const Text shown = PathForDisplay(text);
    return QString::fromUcs4(shown.data(), static_cast<qsizetype>(shown.size()));
}

inline Text FromQString(const QString& text) {
    return text.toStdU32String();
}

// The window's line breaks are CR LF; Qt's editors hold LF alone.
QString ToEditorText(TextView text);
Text FromEditorText(const QString& text);

}  // namespace velmo
