#pragma once
#include "plantlink/shipment_recording.h"

#include <QString>

class Database;
class QSqlRecord;

// Reprinting the delivery ticket of a recorded load from the console's
// shipments tab.  Reads only.
namespace ticket_reprint {

// What the ticket needs of the load `shipment` (a cholha row as the
// shipments tab holds it): its trip number and the order's cumulative
// quantity up to and including it, counted over the order's loads of the
// load's working day; the order's texts, the driver and the KS mark as
// they are now.  Throws DbError.
shipment_recording::Recorded read(const Database &db, const QSqlRecord &shipment);

}
