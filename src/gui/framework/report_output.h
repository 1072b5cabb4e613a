#pragma once
#include "core/framework/report.h"

#include <QString>
#include <functional>

class QWidget;

// Where reports go: straight to the default printer without a dialog, to
// the on-screen preview, or to a PDF file.
//
// With `pdf_folder` set, every print becomes a PDF file in that folder
// instead (offices without a printer, electronic tickets, tests); the file
// is named after the document's title and the time of printing.
//
// Failures throw ActionError with a message for the operator: no printer
// installed, a printer that cannot start or finish the job, a PDF file
// that cannot be written.  Nothing is half-done silently.
class ReportOutput {
public:
    explicit ReportOutput(QString pdf_folder = QString());

    QString pdf_folder() const { return pdf_folder_; }

    // Prints the document.  Returns the PDF file written in the folder
    // mode, otherwise the name of the printer.
    QString print(const report::Document &document) const;

    // Shows the document in the preview window and waits until it closes;
    // the operator may print from there.
    void preview(const report::Document &document, QWidget *parent) const;

    // The name of the system's default printer, empty when there is none.
    // Tests replace it so that no real printer is ever used.
    std::function<QString()> default_printer_name;

private:
    QString pdf_folder_;
};
