// 8-bit text of menu and settings files is code page 949 (Unified Hangul Code).
// These two helpers are the only place that converts between it and QString.
#pragma once

#include <QByteArray>
#include <QString>

// Unicode to code page 949; a character the code page cannot hold becomes "?".
QByteArray toCodePage(QStringView text);
// Code page 949 to Unicode.
QString fromCodePage(QByteArrayView bytes);

// Text of a file as the readers take it: a UTF-8 or UTF-16 byte-order mark
// selects that encoding (and is skipped); otherwise the bytes are code page 949.
QString decodeFileText(QByteArrayView bytes);
