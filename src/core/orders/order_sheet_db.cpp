#include "core/orders/order_sheet_db.h"

#include <QSqlQuery>

namespace order_sheet_db {

OrderSheetData day_orders(const Database &db, const QString &date)
{
    QSqlQuery q = db.query(QStringLiteral(
        "select su.seq, su.v_inout, su.v_station, hy.ground_tel, su.v_rule, yu.man, su.order_m3, su.memo,"
        " su.time_, cu.kawn_sa"
        " from r_suju su"
        " left join r_hyunjang hy on hy.grcd = su.grcd and hy.code = su.code"
        " left join youngup yu on yu.code = hy.man_code"
        " left join customer cu on cu.grcd = su.grcd"
        " where su.ilja = :d order by su.seq"),
                           {{":d", date}});
    OrderSheetData data;
    while (q.next()) {
        OrderSheetRow r;
        r.seq = q.value(0).toString();
        r.v_inout = q.value(1).toString();
        r.v_station = q.value(2).toString();
        r.ground_tel = q.value(3).toString();
        r.v_rule = q.value(4).toString();
        r.man = q.value(5).toString();
        r.order_m3 = number_or_zero(q.value(6));
        r.memo = q.value(7).toString();
        r.time_ = q.value(8).toString();
        if (q.value(9).toString() == QLatin1String("K"))
            data.government_total += r.order_m3;
        else
            data.private_total += r.order_m3;
        data.rows << r;
    }
    return data;
}

}
