#include "core/plantlink/shipment_recording.h"
#include "core/masterdata/vehicle_queries.h"
#include "core/masterdata/lookup_db.h"
#include "core/masterdata/lookup_state.h"
#include "core/data/ticket_data.h"
#include "core/masterdata/spec_db.h"
#include "core/orders/order_lock.h"
#include "core/framework/database.h"
#include "core/framework/number_text.h"
#include "core/plantlink/reservation_slots.h"
#include "core/plantlink/spec_split.h"
#include "core/framework/guarded.h"
#include "core/framework/stored_text.h"

#include <QJsonObject>
#include <QSqlQuery>

namespace shipment_recording {
namespace {
double quantity_of(const QString &text, const QString &what)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok)
        throw ActionError(QStringLiteral("%1 '%2'은(는) 숫자가 아닙니다. 출하를 기록하지 않았습니다.\n"
                                         "이 차량의 출하는 출하 내역 수정에서 입력하십시오.")
                              .arg(what, text));
    return v;
}

struct OrderRow {
    double reorder = 0;
    double order_m3 = 0;
    std::optional<QJsonObject> row;  // for the change log
};

OrderRow read_order(const Database &db, const Input &in, Recorded &r)
{
    QSqlQuery q = db.query(QStringLiteral("select * from r_suju where ilja = :d and seq = :s"),
                           {{":d", in.board_date}, {":s", in.order_no}});
    OrderRow o;
    if (q.next()) {
        o.row = change_log::row_json(q.record());
        o.reorder = number_or_zero(q.value(QStringLiteral("v_reorder")));
        o.order_m3 = number_or_zero(q.value(QStringLiteral("order_m3")));
        r.v_rule = q.value(QStringLiteral("v_rule")).toString();
        r.v_inout = q.value(QStringLiteral("v_inout")).toString();
        r.v_station = q.value(QStringLiteral("v_station")).toString();
        r.cement = q.value(QStringLiteral("cement")).toString();
        r.japum = q.value(QStringLiteral("japum")).toString();
        r.v_hon = q.value(QStringLiteral("v_hon")).toString();
    }
    return o;
}
}

Input input_from_slots(const ReservationSlots &queue, int unit, const QString &board_date,
                       const QDate &today, const QTime &time)
{
    using Slots = ReservationSlots;
    Input in;
    in.unit = unit;
    in.time = time;
    in.today = today;
    in.board_date = board_date;
    in.order_no = queue.field(unit, 1, Slots::OrderNo);
    in.product_code = queue.field(unit, 1, Slots::Product);
    in.quantity = queue.field(unit, 1, Slots::Quantity);
    if (queue.field(unit, 2, Slots::OrderNo) == Slots::mortar_order_no)
        in.mortar_quantity = queue.field(unit, 2, Slots::Quantity);
    in.vehicle_no = queue.field(unit, 1, Slots::VehicleNo);
    in.vehicle_code = queue.field(unit, 1, Slots::VehicleCode);
    in.site_name = queue.field(unit, 1, Slots::Site);
    return in;
}

std::pair<double, double> quantities(const Input &in)
{
    const double load = quantity_of(in.quantity, QStringLiteral("%1호기 예약1의 수량").arg(in.unit));
    const double mortar = in.mortar_quantity
                              ? quantity_of(*in.mortar_quantity, QStringLiteral("%1호기 예약2의 몰탈 수량").arg(in.unit))
                              : 0.0;
    return {load, mortar};
}

namespace {
Recorded start(const Input &in)
{
    Recorded r;
    r.time = stored::time_hms(in.time);
    const auto [load, mortar] = quantities(in);
    r.mortar = mortar;
    r.quantity = load + mortar;
    r.vehicle_no = in.vehicle_no;
    r.vehicle_code = in.vehicle_code;
    return r;
}

bool identity_there(const Database &db, const Input &in)
{
    return !in.load_id.isEmpty()
           && !db.scalar(QStringLiteral("select load_id from cholha_ident where load_id = :id"), {{":id", in.load_id}})
                   .isNull();
}

void read_truck_and_product(const Database &db, const Input &in, const VehicleLookup &lookup_vehicle, Recorded &r);
void write(const Database &db, const Input &in, Recorded &r);
}

QString describe(const Input &in)
{
    return QStringLiteral("%1 %2호기 순번 %3, 차번 %4, %5 m3")
        .arg(in.board_date, QString::number(in.unit), in.order_no, in.vehicle_no, in.quantity);
}

OrderGone::OrderGone(const Input &in)
    : ActionError(QStringLiteral("수주가 삭제되어 기록하지 못한 출하: %1").arg(describe(in)))
{
}

namespace {
std::optional<Recorded> record_load(const Database &db, const Input &in, const VehicleLookup &lookup_vehicle)
{
    Recorded r = start(in);
    Transaction tx(db);
    read_truck_and_product(db, in, lookup_vehicle, r);
    const bool order_there = order_lock::lock(db, in.board_date, in.order_no);
    // Already written (the commit went through but its answer was lost, or
    // another program replayed it): the order may be gone since.
    if (identity_there(db, in))
        return std::nullopt;
    if (!order_there)
        throw OrderGone(in);
    write(db, in, r);
    tx.commit();
    return r;
}
}

Recorded record(const Database &db, const Input &in, const VehicleLookup &lookup_vehicle)
{
    if (std::optional<Recorded> r = record_load(db, in, lookup_vehicle))
        return *r;
    throw ActionError(QStringLiteral("이미 기록된 출하입니다: %1").arg(describe(in)));
}

std::optional<Recorded> record_once(const Database &db, const Input &in, const VehicleLookup &lookup_vehicle)
{
    return record_load(db, in, lookup_vehicle);
}

Recorded estimate(const Input &in, const Known &k)
{
    Recorded r = start(in);
    r.trip_no = k.trips + k.waiting_loads + 1;
    r.cumulative = k.shipped + k.waiting_sum + r.quantity;
    r.driver = k.driver;
    r.ks_mark = k.ks_mark;
    r.v_rule = k.v_rule;
    r.v_inout = k.v_inout;
    r.v_station = k.v_station;
    r.cement = k.cement;
    r.japum = k.japum;
    r.v_hon = k.v_hon;
    return r;
}

VehicleLookup truck_by_number(const Database &db)
{
    return [&db](const QString &number) -> std::optional<std::pair<QString, QString>> {
        const LookupOutcome found = find_codes(db, lookup_kinds::vehicles, number, QString());
        if (!found.found)
            return std::nullopt;
        const QSqlRecord &truck = found.rows.first();
        return std::make_pair(truck.value(QStringLiteral("scode")).toString(), truck.value(QStringLiteral("code")).toString());
    };
}

namespace {
// What the ticket needs of the truck and the product: read before the
// order's lock, so that a second PC recording the same order waits less.
void read_truck_and_product(const Database &db, const Input &in, const VehicleLookup &lookup_vehicle, Recorded &r)
{
    if (lookup_vehicle) {
        if (const auto found = lookup_vehicle(in.vehicle_no)) {
            r.vehicle_no = found->first;
            r.vehicle_code = found->second;
        }
    }
    r.driver = db.scalar(QStringLiteral("select name from car_code where code = :c"), {{":c", r.vehicle_code}}).toString();
    r.ks_mark = ks_mark_of_product(db, in.product_code);
}

// Moves the loads weighed after `in` one trip further, latest first, and
// tells what their tickets said and now say.  `before` is the order's
// shipped total before the first of them.  Gives their rows before and after.
QList<std::pair<QJsonObject, QJsonObject>> shift_later_loads(const Database &db, const Input &in, Recorded &r,
                                                             double before)
{
    const QString day = stored::date(in.today);
    QList<QJsonObject> later;
    {
        QSqlQuery q = db.query(QStringLiteral("select * from cholha where o_fdate = :d and o_scode = :s"
                                              " and (o_date > :d1 or (o_date = :d2 and o_otime > :t))"
                                              " order by o_date, o_otime, o_count"),
                               {{":d", in.board_date}, {":s", in.order_no}, {":d1", day}, {":d2", day}, {":t", r.time}});
        while (q.next())
            later << change_log::row_json(q.record());
    }
    const auto text = [](const QJsonObject &row, const char *column) {
        return row.value(QLatin1String(column)).toVariant().toString();
    };
    double cumulative = before;
    QList<std::pair<QJsonObject, QJsonObject>> moved;
    for (const QJsonObject &row : std::as_const(later)) {
        const int trip = text(row, "o_count").toInt();
        cumulative += row.value(QLatin1String("o_outorder")).toDouble();
        r.moved << QStringLiteral("%1 %2 순번 %3, 차번 %4: %5회 → %6회, 누계 %7 → %8")
                       .arg(in.board_date, text(row, "o_otime"), in.order_no, text(row, "o_ccode"))
                       .arg(trip).arg(trip + 1)
                       .arg(number_2n(cumulative), number_2n(cumulative + r.quantity));
        QJsonObject after = row;
        after.insert(QStringLiteral("o_count"), QStringLiteral("%1").arg(trip + 1, 3, 10, QLatin1Char('0')));
        moved.append({row, after});
    }
    for (auto m = moved.crbegin(); m != moved.crend(); ++m) {
        const QJsonObject &row = m->first;
        db.exec(QStringLiteral("update cholha set o_count = :n where o_fdate = :f and o_scode = :s and o_date = :d"
                               " and o_otime = :t and coalesce(o_count, '') = :c and coalesce(o_carnum, '') = :car"
                               " and coalesce(o_hogi, '') = :h"),
                {{":n", text(m->second, "o_count")}, {":f", in.board_date}, {":s", in.order_no},
                 {":d", text(row, "o_date")}, {":t", text(row, "o_otime")}, {":c", text(row, "o_count")},
                 {":car", text(row, "o_carnum")}, {":h", text(row, "o_hogi")}});
        db.exec(QStringLiteral("update cholha_ident set o_count = :n"
                               " where o_fdate = :f and o_scode = :s and o_count = :c and o_hogi = :h"),
                {{":n", text(m->second, "o_count")}, {":f", in.board_date}, {":s", in.order_no},
                 {":c", text(row, "o_count")}, {":h", text(row, "o_hogi")}});
    }
    return moved;
}

void write(const Database &db, const Input &in, Recorded &r)
{
    OrderRow order;
    // Unit 1 takes the order as it was before this load, unit 2 after it;
    // the two figure the remaining quantity differently.
    if (in.unit == 1)
        order = read_order(db, in, r);

    // Loads of the order weighed after this one are there already when it
    // comes late (out of the journal, while another PC went on recording):
    // it takes its place among them by its time.
    const QString day = stored::date(in.today);
    QSqlQuery prev = db.query(
        QStringLiteral("select count(o_scode), sum(o_outorder),"
                       " sum(case when o_date > :d1 or (o_date = :d2 and o_otime > :t1) then 1 else 0 end),"
                       " sum(case when o_date > :d3 or (o_date = :d4 and o_otime > :t2) then o_outorder else 0 end)"
                       " from cholha where o_fdate = :d and o_scode = :s"),
        {{":d1", day}, {":d2", day}, {":t1", r.time}, {":d3", day}, {":d4", day}, {":t2", r.time},
         {":d", in.board_date}, {":s", in.order_no}});
    long long prev_count = 0;
    double prev_sum = 0;
    long long later_count = 0;
    double later_sum = 0;
    if (prev.next()) {
        prev_count = static_cast<long long>(number_or_zero(prev.value(0)));
        prev_sum = number_or_zero(prev.value(1));
        later_count = static_cast<long long>(number_or_zero(prev.value(2)));
        later_sum = number_or_zero(prev.value(3));
    }
    const auto trip_text = [](long long n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); };
    QList<std::pair<QJsonObject, QJsonObject>> moved;  // for the change log
    if (later_count > 0)
        moved = shift_later_loads(db, in, r, prev_sum - later_sum);

    r.trip_no = static_cast<int>(prev_count - later_count) + 1;
    const QJsonObject load{{QStringLiteral("o_date"), day},
                           {QStringLiteral("o_fdate"), in.board_date},
                           {QStringLiteral("o_otime"), r.time},
                           {QStringLiteral("o_scode"), in.order_no},
                           {QStringLiteral("o_count"), trip_text(r.trip_no)},
                           {QStringLiteral("o_carnum"), r.vehicle_code},
                           {QStringLiteral("o_hogi"), QString::number(in.unit)},
                           {QStringLiteral("o_outorder"), r.quantity},
                           {QStringLiteral("o_moltal"), r.mortar},
                           {QStringLiteral("o_ccode"), r.vehicle_no},
                           {QStringLiteral("o_return"), QStringLiteral("**")}};
    db.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_hogi,"
                           " o_outorder, o_moltal, o_ccode, o_return) values"
                           " (:N1, :N2, :N3, :N4, :N5, :N6, :N7, :N8, :N9, :N10, :N11)"),
            {{":N1", day}, {":N2", in.board_date}, {":N3", r.time},
             {":N4", in.order_no}, {":N5", trip_text(r.trip_no)},
             {":N6", r.vehicle_code}, {":N7", QString::number(in.unit)}, {":N8", r.quantity},
             {":N9", r.mortar}, {":N10", r.vehicle_no}, {":N11", QStringLiteral("**")}});

    if (in.unit == 2)
        order = read_order(db, in, r);
    const double shipped = prev_sum + r.quantity;
    r.cumulative = shipped - later_sum;
    const double remaining = in.unit == 1 ? order.reorder - r.quantity : order.order_m3 - shipped;
    db.exec(QStringLiteral("update r_suju set v_outorder = :R3, v_reorder = :R4, v_ccount = :R5"
                           " where ilja = :R1 and seq = :R2"),
            {{":R1", in.board_date}, {":R2", in.order_no}, {":R3", shipped},
             {":R4", remaining > 0 ? remaining : 0.0}, {":R5", static_cast<int>(prev_count) + 1}});

    // The order's row after the update is the one read under the lock with
    // the three figures just written: no statement more for the log.
    change_log::Changes changes;
    changes.add(change_log::load_entry(change_log::Kind::Recorded, std::nullopt, load));
    for (const auto &[before, after] : std::as_const(moved))
        changes.add(change_log::load_entry(change_log::Kind::Renumbered, before, after));
    if (order.row) {
        QJsonObject after = *order.row;
        after.insert(QStringLiteral("v_outorder"), shipped);
        after.insert(QStringLiteral("v_reorder"), remaining > 0 ? remaining : 0.0);
        after.insert(QStringLiteral("v_ccount"), static_cast<int>(prev_count) + 1);
        changes.add(change_log::order_entry(change_log::Kind::Recorded, order.row, after));
    }
    changes.write(db, in.author);

    // Unit 1's site stands padded to the frame's width in its slot.
    vehicles_db::recount_vehicle(db, in.board_date, r.vehicle_code, in.site_name.trimmed());

    if (!in.load_id.isEmpty())
        db.exec(QStringLiteral("insert into cholha_ident (load_id, o_fdate, o_scode, o_count, o_hogi, journalled)"
                               " values (:id, :f, :s, :c, :h, :j)"),
                {{":id", in.load_id}, {":f", in.board_date}, {":s", in.order_no}, {":c", trip_text(r.trip_no)},
                 {":h", QString::number(in.unit)}, {":j", in.journalled_at.left(19)}});

}
}

QHash<QString, QString> ks_marks(const Database &db)
{
    QHash<QString, QString> marks;
    QSqlQuery q = db.query(QStringLiteral("select remi_code, rul_ks from r_size"));
    while (q.next())
        marks.insert(q.value(0).toString(), q.value(1).toString());
    return marks;
}

void fill_ticket(TicketData &t, const Recorded &load, const QString &board_date,
                 const QString &order_no, const QString &shipper)
{
    t.year = board_date.mid(0, 4);
    t.month = board_date.mid(5, 2);
    t.day = board_date.mid(8, 2);
    t.trip_no = QString::number(load.trip_no);
    t.customer_name = load.v_inout;
    t.site = load.v_station;
    t.vehicle_no = load.vehicle_no;
    t.driver = load.driver;
    t.hour = load.time.mid(0, 2);
    t.minute = load.time.mid(3, 2);
    t.quantity = number_2n(load.quantity);
    t.cumulative = number_2n(load.cumulative);
    fill_spec_parts(t, load.v_rule);
    t.cement = load.cement;
    t.admixture = load.japum;
    t.admixture_rate = load.v_hon;
    t.shipper = shipper;
    t.ks_mark = load.ks_mark;
    t.order_no = order_no;
    t.origin.path = QStringLiteral("console");
    t.origin.book = QStringLiteral("cholha");
    t.origin.work_date = board_date;
    t.origin.order_no = order_no;
    t.origin.trip = QStringLiteral("%1").arg(load.trip_no, 3, 10, QLatin1Char('0'));
    t.origin.load_time = load.time;
    t.origin.spec = load.v_rule;
    t.origin.mortar = load.mortar;
    t.origin.vehicle_code = load.vehicle_code;
}

}
