#pragma once
#include "core/plantlink/shipment_recording.h"

#include <QString>

class Database;
class QSqlRecord;

// The delivery ticket of a recorded load, printed again: from the
// console's shipments tab and from the shipment editor.  Reads only.
namespace ticket_reprint {

// The stored load, as far as its ticket needs it.
struct Load {
    QString o_fdate;  // working date (the order's date)
    QString o_scode;  // order number
    QString o_count;  // trip number "001"
    QString o_otime;  // "hh:mm:ss"
    QString o_ccode;  // vehicle number
    QString o_carnum; // vehicle code
    double o_outorder = 0;  // quantity plus mortar
    double o_moltal = 0;
};

// What the ticket needs of the load: its trip number and the order's
// cumulative quantity up to and including it, counted over the order's
// loads of the load's working day; the order's texts, the driver and the
// KS mark as they are now.  Throws DbError.
shipment_recording::Recorded read(const Database &db, const Load &load);

// The same for a cholha row as the shipments tab holds it.
shipment_recording::Recorded read(const Database &db, const QSqlRecord &shipment);

}
