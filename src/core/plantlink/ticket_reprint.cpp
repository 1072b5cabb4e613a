#include "core/plantlink/ticket_reprint.h"
#include "core/masterdata/spec_db.h"
#include "core/framework/database.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace ticket_reprint {

shipment_recording::Recorded read(const Database &db, const QSqlRecord &shipment)
{
    const auto text = [&](const char *field) { return shipment.value(QString::fromLatin1(field)).toString(); };
    return read(db, Load{text("o_fdate"), text("o_scode"), text("o_count"), text("o_otime"), text("o_ccode"),
                         text("o_carnum"), number_or_zero(shipment.value(QStringLiteral("o_outorder"))),
                         number_or_zero(shipment.value(QStringLiteral("o_moltal")))});
}

shipment_recording::Recorded read(const Database &db, const Load &load)
{
    const QString &day = load.o_fdate;
    const QString &order_no = load.o_scode;
    shipment_recording::Recorded r;
    r.time = load.o_otime;
    r.quantity = load.o_outorder;
    r.mortar = load.o_moltal;
    r.vehicle_no = load.o_ccode;
    r.vehicle_code = load.o_carnum;

    // Trip numbers are three-digit texts: text order is trip order.
    QSqlQuery upto = db.query(QStringLiteral("select count(o_count), coalesce(sum(o_outorder), 0) from cholha"
                                             " where o_fdate = :d and o_scode = :s and o_count <= :c"),
                              {{":d", day}, {":s", order_no}, {":c", load.o_count}});
    if (upto.next()) {
        r.trip_no = static_cast<int>(number_or_zero(upto.value(0)));
        r.cumulative = number_or_zero(upto.value(1));
    }

    QString product;
    QSqlQuery order = db.query(QStringLiteral("select v_rule, v_inout, v_station, cement, japum, v_hon, remi_code"
                                              " from r_suju where ilja = :d and seq = :s"),
                               {{":d", day}, {":s", order_no}});
    if (order.next()) {
        r.v_rule = order.value(0).toString();
        r.v_inout = order.value(1).toString();
        r.v_station = order.value(2).toString();
        r.cement = order.value(3).toString();
        r.japum = order.value(4).toString();
        r.v_hon = order.value(5).toString();
        product = order.value(6).toString();
    }
    r.driver = db.scalar(QStringLiteral("select name from car_code where code = :c"), {{":c", r.vehicle_code}}).toString();
    r.ks_mark = ks_mark_of_product(db, product);
    return r;
}

}
