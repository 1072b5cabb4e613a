#include "shipments/editor_ticket.h"
#include "framework/database.h"
#include "framework/number_text.h"
#include "plantlink/spec_split.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace editor_ticket {
namespace {

using shipment_edit_db::Shipment;

struct Order {
    QString v_inout, v_station, v_rule, cement, japum, v_hon, ks_mark;
};

std::optional<Order> read_order(const Database &db, const QString &date, const QString &seq)
{
    QSqlQuery q = db.query(QStringLiteral("select * from r_suju where ilja = :d and seq = :s"),
                           {{":d", date}, {":s", seq}});
    if (!q.next())
        return std::nullopt;
    const QSqlRecord r = q.record();
    Order o{r.value(QStringLiteral("v_inout")).toString(), r.value(QStringLiteral("v_station")).toString(),
            r.value(QStringLiteral("v_rule")).toString(), r.value(QStringLiteral("cement")).toString(),
            r.value(QStringLiteral("japum")).toString(), r.value(QStringLiteral("v_hon")).toString(), {}};
    const QString remi_code = r.value(QStringLiteral("remi_code")).toString();
    q.finish();
    o.ks_mark = db.scalar(QStringLiteral("select rul_ks from r_size where remi_code = :c"), {{":c", remi_code}})
                    .toString();
    return o;
}

TicketData fill(const Database &db, const Order &order, const Shipment &s, const QString &shipper)
{
    QSqlQuery q = db.query(QStringLiteral("select count(o_scode) as sum_count, sum(o_outorder) as sum_chol"
                                          " from cholha where o_fdate = :f and o_scode = :s and o_count <= :c"),
                           {{":f", s.o_fdate}, {":s", s.o_scode}, {":c", s.o_count}});
    long long count = 0;
    double cumulative = 0;
    if (q.next()) {
        count = static_cast<long long>(number_or_zero(q.value(0)));
        cumulative = number_or_zero(q.value(1));
    }
    q.finish();
    TicketData t;
    t.year = s.o_fdate.mid(0, 4);
    t.month = s.o_fdate.mid(5, 2);
    t.day = s.o_fdate.mid(8, 2);
    t.trip_no = QString::number(count);
    t.customer_name = order.v_inout;
    t.site = order.v_station;
    t.vehicle_no = s.o_ccode;
    t.driver = db.scalar(QStringLiteral("select name from car_code where code = :c"), {{":c", s.o_carnum}}).toString();
    t.hour = s.o_otime.mid(0, 2);
    t.minute = s.o_otime.mid(3, 2);
    t.quantity = number_2n(s.o_outorder);
    t.cumulative = number_2n(cumulative);
    fill_spec_parts(t, order.v_rule);
    t.cement = order.cement;
    t.admixture = order.japum;
    t.shipper = shipper;
    t.ks_mark = order.ks_mark;
    t.admixture_rate = order.v_hon;
    t.order_no = s.o_scode;
    return t;
}

}

std::optional<TicketData> ticket_of(const Database &db, const Shipment &shipment, const QString &shipper)
{
    const auto order = read_order(db, shipment.o_fdate, shipment.o_scode);
    if (!order)
        return std::nullopt;
    return fill(db, *order, shipment, shipper);
}

bool order_exists(const Database &db, const QString &date, const QString &seq)
{
    return db.query(QStringLiteral("select seq from r_suju where ilja = :d and seq = :s"),
                    {{":d", date}, {":s", seq}})
        .next();
}

Range range(const Database &db, const QString &date, const QString &seq, int first, int last,
            const QString &shipper)
{
    Range result;
    if (last < first)
        return result;
    const auto order = read_order(db, date, seq);
    if (!order)
        return result;
    QSqlQuery q = db.query(QStringLiteral("select * from cholha where o_fdate = :f and o_scode = :s"
                                          " and o_count >= :a and o_count <= :b order by o_count, o_date, o_otime"),
                           {{":f", date}, {":s", seq},
                            {":a", QStringLiteral("%1").arg(first, 3, 10, QLatin1Char('0'))},
                            {":b", QStringLiteral("%1").arg(last, 3, 10, QLatin1Char('0'))}});
    QHash<QString, Shipment> by_trip;
    while (q.next()) {
        const Shipment s = Shipment::from_record(q.record());
        if (!by_trip.contains(s.o_count))
            by_trip.insert(s.o_count, s);
    }
    q.finish();
    for (int i = first; i <= last; ++i) {
        const QString trip = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        if (const auto found = by_trip.constFind(trip); found != by_trip.cend())
            result.tickets << fill(db, *order, *found, shipper);
        else
            result.skipped << trip;
    }
    return result;
}

}
