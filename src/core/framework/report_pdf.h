#pragma once
#include "core/framework/report.h"

#include <QString>

namespace report {

// Writes the document as a PDF file (its folder is created), whole or not
// at all.  Throws ActionError when it cannot be written.
void write_pdf(const Document &document, const QString &path);

// folder/base_name.pdf, or base_name_2.pdf ... when that file exists.
QString unused_pdf_path(const QString &folder, const QString &base_name);

}
