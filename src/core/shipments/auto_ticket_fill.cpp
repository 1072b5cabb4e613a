#include "core/shipments/auto_ticket_fill.h"
#include "core/data/ticket_data.h"
#include "core/framework/number_text.h"

SpecParts split_yusa_spec(const QString &spec, YusaTicketKind kind)
{
    SpecParts parts = split_spec(spec);
    const qsizetype dash = spec.indexOf(QLatin1Char('-'));
    if (dash >= 0)
        parts.max_aggregate = spec.left(dash);
    else if (kind == YusaTicketKind::Single)
        parts = {QString(), spec, QString(), QString()};
    return parts;
}

void fill_yusa_ticket(TicketData &t, const YusaTicketSource &s, YusaTicketKind kind)
{
    t.year = s.working_date.mid(0, 4);
    t.month = s.working_date.mid(5, 2);
    t.day = s.working_date.mid(8, 2);
    bool numeric = false;
    const int trip = s.load.seq.trimmed().toInt(&numeric);
    t.trip_no = numeric ? QString::number(trip) : s.load.seq;
    t.customer_name = s.order.customer;
    t.site = s.order.site;
    t.vehicle_no = kind == YusaTicketKind::Single ? s.vehicle.code : s.vehicle.scode;
    t.driver = s.vehicle.name;
    t.hour = s.load.time.mid(0, 2);
    t.minute = s.load.time.mid(3, 2);
    t.quantity = number_2n(s.load.m3);
    t.cumulative = number_2n(s.load.cumulative);
    const SpecParts parts = split_yusa_spec(s.order.spec, kind);
    t.max_aggregate = parts.max_aggregate;
    t.strength = parts.strength;
    t.slump = parts.slump;
    t.spec_other = parts.spec_other;
    t.cement = s.order.cement;
    t.admixture = s.order.admixture;
    t.shipper = s.shipper;
    t.ks_mark = s.ks_mark;
    t.admixture_rate = s.order.admixture_rate;
    // Names the PDF copy: the book's own orders read "Y03".
    t.order_no = QLatin1Char('Y') + s.order.seq.rightJustified(2, QLatin1Char('0'));
    t.origin.path = kind == YusaTicketKind::Single ? QStringLiteral("auto") : QStringLiteral("auto_range");
    t.origin.book = QStringLiteral("yu_cholha");
    t.origin.work_date = s.working_date;
    t.origin.order_no = s.order.seq;
    t.origin.trip = s.load.seq;
    t.origin.load_time = s.load.time;
    t.origin.spec = s.order.spec;
    t.origin.vehicle_code = s.vehicle.code;
}
