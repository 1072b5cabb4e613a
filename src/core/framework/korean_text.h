#pragma once
#include <QByteArray>
#include <QString>

// Code page 949 as Windows and the plant's controllers use it.  ICU calls it
// "windows-949"; its "CP949" is another table that turns '\' into a won sign.
namespace cp949 {
bool available();
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);
}

// Maps the design font "굴림" (and "Gulim") to the installed Korean font and
// makes it the application font.
void install_korean_fonts();
