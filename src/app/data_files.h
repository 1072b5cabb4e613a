#pragma once
#include <QString>

// Where the program's pictures are looked up: beside the program on Windows
// ("C:\Program Files\vorn\..."), elsewhere in $VELDARO_DATA_DIR or in
// ../share/veldaro next to the binary (the build and install trees).
QString data_file(const QString &relative_path);
