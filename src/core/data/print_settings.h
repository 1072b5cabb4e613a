#pragma once
#include <QString>

// Where printed things go besides the printer.  Kept in a section of the
// program's own, "[VELDARO]", in the settings file (the plant's other
// programs do not read it); environment variables override the file:
//
//   [VELDARO]
//   print_to_pdf=D:\tickets\pdf      VELDARO_PRINT_TO_PDF   every print becomes a
//                                                           PDF file in this folder
//                                                           instead of going to the printer
//   ticket_copies=D:\tickets\copies  VELDARO_TICKET_COPIES  a PDF copy of every printed
//                                                           delivery ticket is kept here
//
// An environment variable that is set but empty turns the setting off.
struct PrintSettings {
    QString pdf_folder;
    QString ticket_copy_folder;

    static PrintSettings load(const QString &settings_path);
};
