#include "shipments/hand_ticket_db.h"
#include "framework/database.h"

#include <QSqlQuery>

namespace hand_ticket_db {

bool is_ks_standard(const Database &db, const QString &standard)
{
    QSqlQuery q = db.query(QStringLiteral("select rul_ks from r_size where standard = :s order by remi_code"),
                           {{":s", standard}});
    return q.next() && q.value(0).toString() == QLatin1String("KS");
}

}
