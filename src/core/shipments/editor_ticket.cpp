#include "core/shipments/editor_ticket.h"
#include "core/framework/database.h"
#include "core/plantlink/ticket_reprint.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace editor_ticket {
namespace {

using shipment_edit_db::Shipment;

// The ticket as the console's reprint makes it: trip number and cumulative
// up to the load's trip, the order's texts as they are now.
TicketData fill(const Database &db, const Shipment &s, const QString &shipper, const char *path)
{
    const auto load = ticket_reprint::read(
        db, {s.o_fdate, s.o_scode, s.o_count, s.o_otime, s.o_ccode, s.o_carnum, s.o_outorder, s.o_moltal});
    TicketData t;
    shipment_recording::fill_ticket(t, load, s.o_fdate, s.o_scode, shipper);
    t.origin.path = QString::fromLatin1(path);
    t.origin.trip = s.o_count;
    return t;
}

}

std::optional<TicketData> ticket_of(const Database &db, const Shipment &shipment, const QString &shipper)
{
    if (!order_exists(db, shipment.o_fdate, shipment.o_scode))
        return std::nullopt;
    return fill(db, shipment, shipper, "editor");
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
    if (last < first || !order_exists(db, date, seq))
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
            result.tickets << fill(db, *found, shipper, "editor_range");
        else
            result.skipped << trip;
    }
    return result;
}

}
