#pragma once
#include <QString>

// Where the program's pictures are looked up: beside the program on Windows
// ("C:\Program Files\vorn\..."), elsewhere in $VELDARO_DATA_DIR or in
// ../share/veldaro next to the binary (the build and install trees).
QString data_file(const QString &relative_path);

// The approval-box picture printed on the order sheet and the shipment
// lists ("결재.bmp" beside the program's pictures).  A null image, with the
// reason in `error`, when it is missing or unreadable: the reports then
// print without it.
class QImage;
QImage approval_picture(QString *error = nullptr);
