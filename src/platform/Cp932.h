#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Shift-JIS (code page 932) text. Bytes that are not valid code page 932
// (a character cut in two at a field's end, say) become U+FFFD.
QString DecodeCp932(QByteArrayView bytes);
// Characters that code page 932 cannot hold become '?'.
QByteArray EncodeCp932(const QString& text);
