#pragma once
#include "core/plantlink/spec_split.h"
#include "core/shipments/yusa_db.h"

struct TicketData;

// The delivery ticket of a yusa load, as the auto ticket book prints it:
// one ticket at a time ("낱 장 인 쇄") or a run of loads ("연 속 인 쇄").
enum class YusaTicketKind { Single, Range };

// The specification parts of a yusa ticket.  With a "-": everything before
// the first "-" (of any length), what lies between it and the next "-"
// within ten characters, up to five characters after that.  Without one the
// single ticket prints the whole text as the strength, the range prints it
// as the other specification.
SpecParts split_yusa_spec(const QString &spec, YusaTicketKind kind);

struct YusaTicketSource {
    QString working_date;  // "yyyy-mm-dd"
    yusa_db::YusaOrder order;
    yusa_db::YusaLoad load;
    yusa_db::TicketVehicle vehicle;
    QString ks_mark;
    QString shipper;
};

// Fills every field of the ticket: the vehicle's code on the single ticket
// and its number on the range; the load number without leading zeros.
void fill_yusa_ticket(TicketData &ticket, const YusaTicketSource &source, YusaTicketKind kind);
