#pragma once
#include "core/data/ticket_register.h"

#include <QJsonObject>
#include <QString>

struct EnrolRow;

// A delivery ticket's data as a JSON file beside its PDF copy, for the
// site's and the office's other software (format: docs/ticket-data.md).
// The figures are those printed: numbers read back from the printed texts.
namespace ticket_json {

inline constexpr const char *format_name = "veldaro-delivery-ticket";
inline constexpr int format_version = 1;

QJsonObject make(const TicketData &ticket, const ticket_register::PrintFacts &facts, const EnrolRow &plant);

// The file beside a PDF copy: the same name, ".json".
QString path_beside(const QString &pdf_path);

// Whole or not at all (through QSaveFile); throws ActionError.
void write(const QJsonObject &json, const QString &path);

}
