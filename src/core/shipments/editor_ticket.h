#pragma once
#include "core/data/ticket_data.h"
#include "core/shipments/shipment_edit_db.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Database;

// Delivery tickets of the shipment editor: of one recorded shipment, or of
// a run of trip numbers of one order.
namespace editor_ticket {

// The ticket of `shipment`: its trip number and the order's cumulative
// quantity count the order's shipments of the working date up to its trip
// number.  Nothing when the order no longer exists.
std::optional<TicketData> ticket_of(const Database &db, const shipment_edit_db::Shipment &shipment,
                                    const QString &shipper);

// True when the order exists on the working date.
bool order_exists(const Database &db, const QString &date, const QString &seq);

struct Range {
    QList<TicketData> tickets;  // in rising trip order
    QStringList skipped;        // trip numbers without a shipment ("004")
};
// Tickets of trips first..last of the order; numbers without a shipment
// are skipped and named.  Empty when last < first or the order is missing.
Range range(const Database &db, const QString &date, const QString &seq, int first, int last,
            const QString &shipper);

}
