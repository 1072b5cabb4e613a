#include "core/orders/order_lock.h"
#include "core/framework/database.h"

namespace order_lock {

bool lock(const Database &db, const QString &date, const QString &seq)
{
    // A write that changes nothing: portable, and on PostgreSQL a row lock
    // held to the end of the transaction (SQLite locks the whole file).
    return db.exec(QStringLiteral("update r_suju set v_ccount = v_ccount where ilja = :d and seq = :s"),
                   {{":d", date}, {":s", seq}})
           > 0;
}

}
