#include "core/shipments/shipment_edit_db.h"
#include "core/data/change_log.h"
#include "core/masterdata/vehicle_queries.h"
#include "core/orders/order_lock.h"
#include "core/framework/database.h"
#include "core/framework/guarded.h"
#include "core/framework/number_text.h"

#include <QJsonObject>
#include <QSqlQuery>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace shipment_edit_db {
namespace {

QString three_digits(long long n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

// Rows written by other software may hold NULL texts; they read as "".
const QString identity_where = QStringLiteral(
    " where o_fdate = :f and o_otime = :t and o_date = :d and o_scode = :s"
    " and coalesce(o_count, '') = :c and coalesce(o_carnum, '') = :car"
    " and coalesce(o_hogi, '') = :h and coalesce(o_ccode, '') = :cc and coalesce(o_return, '') = :r");

Params identity_params(const Shipment &s)
{
    return {{":f", s.o_fdate}, {":t", s.o_otime}, {":d", s.o_date}, {":s", s.o_scode},
            {":c", s.o_count}, {":car", s.o_carnum}, {":h", s.o_hogi}, {":cc", s.o_ccode},
            {":r", s.o_return}};
}

void insert_row(const Database &db, const Shipment &s)
{
    db.exec(QStringLiteral("insert into cholha (o_fdate, o_date, o_otime, o_outorder, o_moltal, o_ccode,"
                           " o_count, o_carnum, o_scode, o_return, o_hogi) values"
                           " (:N1, :N2, :N3, :N4, :N5, :N6, :N7, :N8, :N9, :N10, :N11)"),
            {{":N1", s.o_fdate}, {":N2", s.o_date}, {":N3", s.o_otime}, {":N4", s.o_outorder},
             {":N5", s.o_moltal}, {":N6", s.o_ccode}, {":N7", s.o_count}, {":N8", s.o_carnum},
             {":N9", s.o_scode}, {":N10", s.o_return}, {":N11", s.o_hogi}});
}

// Removes exactly one stored row, never a neighbour that left in the same
// second, and gives it as it was stored.  Rows alike in every text column
// cannot be told apart by SQL without a key: all of them go and the others
// come back.
Shipment remove_row(const Database &db, const Shipment &row)
{
    QList<Shipment> alike;
    {
        QSqlQuery q = db.query(QStringLiteral("select * from cholha") + identity_where, identity_params(row));
        while (q.next())
            alike << Shipment::from_record(q.record());
    }
    if (alike.isEmpty())
        throw ActionError(QStringLiteral("%1 %2의 출하 자료가 이미 바뀌었거나 삭제되었습니다.\n"
                                         "아무것도 저장하지 않았습니다. 자료를 다시 확인하십시오.")
                              .arg(row.o_date, row.o_otime));
    db.exec(QStringLiteral("delete from cholha") + identity_where, identity_params(row));
    qsizetype drop = 0;
    for (qsizetype i = 0; i < alike.size(); ++i) {
        if (std::abs(alike[i].o_outorder - row.o_outorder) < 1e-9) {
            drop = i;
            break;
        }
    }
    const Shipment removed = alike.takeAt(drop);
    for (const Shipment &other : alike)
        insert_row(db, other);
    return removed;
}

ActionError order_gone(const QString &date, const QString &seq)
{
    return ActionError(QStringLiteral("%1 출하예정 %2번이 없습니다. 다른 곳에서 삭제되었을 수 있습니다.\n"
                                      "아무것도 저장하지 않았습니다.")
                           .arg(date, seq));
}

// Locks the orders of one working date by number, lowest first, so that two
// PCs locking the same orders never wait on each other in a circle.  Gives
// the numbers of those that are gone.
QSet<QString> lock_orders(const Database &db, const QString &date, const QSet<QString> &seqs)
{
    QStringList sorted(seqs.cbegin(), seqs.cend());
    sorted.sort();
    QSet<QString> gone;
    for (const QString &seq : sorted)
        if (!order_lock::lock(db, date, seq))
            gone.insert(seq);
    return gone;
}

// The vehicles a change recounts, each with the site it stands at then.
// They are recounted last and by code, after the orders' locks, so that two
// PCs swapping trucks between loads never wait on each other in a circle.
class Recounts {
public:
    Recounts(const QString &date, const QString &board_date) : date_(date), board_day_(date == board_date) {}
    // A later call for the same vehicle replaces the site.
    void add(const QString &vehicle_code, const QString &site)
    {
        // Other days' figures would overwrite the board's count and site.
        if (board_day_ && !vehicle_code.isEmpty())
            sites_.insert(vehicle_code, site);
    }
    void run(const Database &db) const
    {
        for (auto it = sites_.cbegin(); it != sites_.cend(); ++it)
            vehicles_db::recount_vehicle(db, date_, it.key(), it.value());
    }

private:
    QString date_;
    bool board_day_;
    QMap<QString, QString> sites_;
};

QJsonObject row_json(const Shipment &s)
{
    return {{QStringLiteral("o_date"), s.o_date},       {QStringLiteral("o_fdate"), s.o_fdate},
            {QStringLiteral("o_otime"), s.o_otime},     {QStringLiteral("o_scode"), s.o_scode},
            {QStringLiteral("o_count"), s.o_count},     {QStringLiteral("o_carnum"), s.o_carnum},
            {QStringLiteral("o_hogi"), s.o_hogi},       {QStringLiteral("o_outorder"), s.o_outorder},
            {QStringLiteral("o_moltal"), s.o_moltal},   {QStringLiteral("o_ccode"), s.o_ccode},
            {QStringLiteral("o_return"), s.o_return}};
}

using change_log::Kind;

// What one change does to the rows, for the change log: the orders as they
// stood once locked, and the loads it removed, stored and renumbered.
class ChangeRecord {
public:
    void orders_locked(const Database &db, const QString &date, const QSet<QString> &seqs)
    {
        date_ = date;
        for (const QString &seq : seqs)
            if (!orders_.contains(seq))
                orders_.insert(seq, change_log::order_row(db, date, seq));
    }
    void set_order_kind(const QString &seq, Kind kind) { order_kinds_.insert(seq, kind); }
    // The order's trip count as the locked transaction read it.
    long long trips_of(const QString &seq) const
    {
        const std::optional<QJsonObject> row = orders_.value(seq);
        return row ? static_cast<long long>(number_or_zero(row->value(QLatin1String("v_ccount")).toVariant())) : 0;
    }
    // A load removed for good, or replaced by the saved one (`replaced_by`
    // set at the end).
    void removed(const Shipment &row, Kind kind) { loads_.append({kind, row, std::nullopt}); }
    void stored(const Shipment &before_or_none, bool has_before, Kind kind, const Shipment &after)
    {
        loads_.append({kind, has_before ? std::optional<Shipment>(before_or_none) : std::nullopt, after});
    }
    void renumbered(const Shipment &before, const Shipment &after)
    {
        for (Load &l : loads_)
            if (l.after && l.after->same_row(before)) {
                l.after = after;
                return;
            }
        loads_.append({Kind::Renumbered, before, after});
    }
    void replaced_by(const Shipment &saved)
    {
        for (Load &l : loads_)
            if (l.kind == Kind::Replaced && !l.after)
                l.after = saved;
    }
    void write(const Database &db, Kind order_kind) const
    {
        change_log::Changes changes;
        for (const Load &l : loads_)
            changes.add(change_log::load_entry(l.kind, l.before ? std::optional(row_json(*l.before)) : std::nullopt,
                                               l.after ? std::optional(row_json(*l.after)) : std::nullopt));
        for (auto it = orders_.cbegin(); it != orders_.cend(); ++it) {
            const std::optional<QJsonObject> after = change_log::order_row(db, date_, it.key());
            if (it.value() || after)
                changes.add(change_log::order_entry(order_kinds_.value(it.key(), order_kind), it.value(), after));
        }
        changes.write(db);
    }

private:
    struct Load {
        Kind kind;
        std::optional<Shipment> before;
        std::optional<Shipment> after;
    };
    QString date_;
    QMap<QString, std::optional<QJsonObject>> orders_;
    QHash<QString, Kind> order_kinds_;
    QList<Load> loads_;
};

// The order's shipments with their new trip numbers.
QList<Shipment> renumbered(const Database &db, const QString &date, const QString &order, ChangeRecord &record)
{
    QList<Shipment> rows;
    {
        QSqlQuery q = db.query(QStringLiteral("select * from cholha where o_fdate = :f and o_scode = :s"
                                              " order by o_date, o_otime, o_hogi"),
                               {{":f", date}, {":s", order}});
        while (q.next())
            rows << Shipment::from_record(q.record());
    }
    long long n = 0;
    for (Shipment &row : rows) {
        const QString trip = three_digits(++n);
        if (row.o_count == trip)
            continue;
        db.exec(QStringLiteral("update cholha set o_count = :n"
                               " where o_fdate = :f and o_scode = :s and o_date = :d and o_otime = :t"
                               " and coalesce(o_hogi, '') = :h and coalesce(o_count, '') = :c"
                               " and coalesce(o_carnum, '') = :car"),
                {{":n", trip}, {":f", row.o_fdate}, {":s", row.o_scode}, {":d", row.o_date},
                 {":t", row.o_otime}, {":h", row.o_hogi}, {":c", row.o_count}, {":car", row.o_carnum}});
        const Shipment before = row;
        row.o_count = trip;
        record.renumbered(before, row);
    }
    return rows;
}
}

Shipment Shipment::from_record(const QSqlRecord &r)
{
    Shipment s;
    s.o_fdate = r.value(QStringLiteral("o_fdate")).toString();
    s.o_date = r.value(QStringLiteral("o_date")).toString();
    s.o_otime = r.value(QStringLiteral("o_otime")).toString();
    s.o_outorder = number_or_zero(r.value(QStringLiteral("o_outorder")));
    s.o_moltal = number_or_zero(r.value(QStringLiteral("o_moltal")));
    s.o_ccode = r.value(QStringLiteral("o_ccode")).toString();
    s.o_count = r.value(QStringLiteral("o_count")).toString();
    s.o_carnum = r.value(QStringLiteral("o_carnum")).toString();
    s.o_scode = r.value(QStringLiteral("o_scode")).toString();
    s.o_return = r.value(QStringLiteral("o_return")).toString();
    s.o_hogi = r.value(QStringLiteral("o_hogi")).toString();
    return s;
}

QString describe(const Shipment &s)
{
    return QStringLiteral("출하예정 %1번, 차량 %2, %3 m3, %4")
        .arg(s.o_scode, s.o_ccode, general_number(s.o_outorder), s.o_otime);
}

bool Shipment::same_row(const Shipment &o) const
{
    return o_fdate == o.o_fdate && o_date == o.o_date && o_otime == o.o_otime && o_scode == o.o_scode
        && o_count == o.o_count && o_carnum == o.o_carnum && o_hogi == o.o_hogi && o_ccode == o.o_ccode
        && o_return == o.o_return;
}

QList<Shipment> occupants(const Database &db, const QString &working_date, const QString &time)
{
    QSqlQuery q = db.query(QStringLiteral("select * from cholha where o_fdate = :f and o_otime = :t"
                                          " order by o_date, o_scode, o_count"),
                           {{":f", working_date}, {":t", time}});
    QList<Shipment> found;
    while (q.next())
        found << Shipment::from_record(q.record());
    return found;
}

std::optional<Shipment> occupant(const Database &db, const QString &working_date, const QString &time)
{
    const QList<Shipment> found = occupants(db, working_date, time);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

void adjust_order(const Database &db, const QString &date, const QString &seq, double quantity, int trips)
{
    db.exec(QStringLiteral(
                "update r_suju set"
                " v_outorder = coalesce(v_outorder, 0) + :q,"
                " v_reorder = case when coalesce(order_m3, 0) - (coalesce(v_outorder, 0) + :q) > 0"
                "   then coalesce(order_m3, 0) - (coalesce(v_outorder, 0) + :q) else 0 end,"
                " v_ccount = case when coalesce(v_ccount, 0) + :n > 0 then coalesce(v_ccount, 0) + :n else 0 end"
                " where ilja = :d and seq = :s"),
            {{":q", quantity}, {":n", trips}, {":d", date}, {":s", seq}});
}

namespace {
// The save once its orders are locked; nullopt when an occupant of an order
// not locked turned up, so that the caller starts again with it.
std::optional<SaveResult> save_locked(const Database &db, const SaveRequest &req, QSet<QString> &orders,
                                      ChangeRecord &record)
{
    const bool insert = req.mode == SaveRequest::Mode::Insert;
    Shipment s = req.shipment;
    const QString date = s.o_fdate;
    const QString order = s.o_scode;

    // Whose loads this save may touch: its order, the order the edited load
    // comes from and the occupant's, all locked before their figures or
    // loads are read.  The first look at the occupants only names them.
    for (const Shipment &o : occupants(db, date, s.o_otime))
        orders.insert(o.o_scode);
    if (lock_orders(db, date, orders).contains(order))
        throw order_gone(date, order);
    const QList<Shipment> occupying = occupants(db, date, s.o_otime);
    for (const Shipment &o : occupying)
        if (!orders.contains(o.o_scode))
            return std::nullopt;
    record.orders_locked(db, date, orders);

    if (insert)
        s.o_count = three_digits(record.trips_of(order) + 1);

    SaveResult result;
    Recounts recounts(date, req.board_date);
    // An edited shipment that keeps its time occupies it itself; a load of
    // the other unit in the same second is not its occupant then.
    const bool is_self = !insert && std::any_of(occupying.cbegin(), occupying.cend(), [&](const Shipment &o) {
                             return o.same_row(*req.previous);
                         });
    if (!occupying.isEmpty() && !is_self) {
        if (!req.replace_occupant
            || (req.consented_occupant && !req.consented_occupant->same_row(occupying.first())))
            throw ActionError(QStringLiteral("%1 시간에 다른 출하 자료가 기록되었습니다.\n"
                                             "아무것도 저장하지 않았습니다. 다시 저장하십시오.")
                                  .arg(s.o_otime));
        const Shipment occ = remove_row(db, occupying.first());
        record.removed(occ, Kind::Replaced);
        record.set_order_kind(occ.o_scode, Kind::Replaced);
        adjust_order(db, date, occ.o_scode, -occ.o_outorder, -1);
        if (occ.o_scode == order) {
            if (insert)
                s.o_count = occ.o_count;
        } else {
            renumbered(db, date, occ.o_scode, record);
        }
        recounts.add(occ.o_carnum, QString());
        result.replaced = occ;
    }

    // The old quantity as stored now, not as it was on screen.
    std::optional<Shipment> old_row;
    if (!insert)
        old_row = remove_row(db, *req.previous);
    const double old_total = old_row ? old_row->o_outorder : 0.0;
    insert_row(db, s);
    if (insert) {
        // A load that takes an occupant's place is that place's replacement.
        if (!result.replaced)
            record.stored(Shipment(), false, Kind::Entered, s);
    } else {
        record.stored(*old_row, true, Kind::Corrected, s);
    }

    if (insert) {
        adjust_order(db, date, order, s.o_outorder, 1);
    } else {
        const QString from = req.previous->o_scode;
        if (from != order) {
            // A load moved to another order leaves its old one a trip less.
            adjust_order(db, date, from, -old_total, -1);
            renumbered(db, date, from, record);
            adjust_order(db, date, order, s.o_outorder, 1);
        } else {
            // Any change of the total, mortar included, whatever else changed.
            const double difference = s.o_outorder - old_total;
            if (std::abs(difference) > 1e-9)
                adjust_order(db, date, order, difference, 0);
        }
        for (const Shipment &row : renumbered(db, date, order, record)) {
            Shipment numbered = s;
            numbered.o_count = row.o_count;
            if (row.same_row(numbered))
                s.o_count = row.o_count;
        }
        if (req.previous->o_carnum != s.o_carnum)
            recounts.add(req.previous->o_carnum, QString());
    }
    recounts.add(s.o_carnum, req.site);
    recounts.run(db);
    record.replaced_by(s);
    record.write(db, insert ? (result.replaced ? Kind::Replaced : Kind::Entered) : Kind::Corrected);
    result.o_count = s.o_count;
    return result;
}
}

SaveResult save(const Database &db, const SaveRequest &req)
{
    if (req.mode == SaveRequest::Mode::Edit && !req.previous)
        throw ActionError(QStringLiteral("수정할 출하 자료가 없습니다."));
    QSet<QString> orders{req.shipment.o_scode};
    if (req.previous)
        orders.insert(req.previous->o_scode);
    // Each round locks every order it found so far; an occupant of yet
    // another order, recorded between the look and the locks, starts a
    // round with it, since locking it now could break the order of locks.
    for (int round = 0; round < 5; ++round) {
        Transaction tx(db);
        ChangeRecord record;
        if (const std::optional<SaveResult> result = save_locked(db, req, orders, record)) {
            tx.commit();
            return *result;
        }
    }
    throw ActionError(QStringLiteral("%1 시간의 출하 자료가 계속 바뀌고 있습니다. 아무것도 저장하지 않았습니다.\n"
                                     "다시 저장하십시오.")
                          .arg(req.shipment.o_otime));
}

void delete_shipment(const Database &db, const Shipment &row, const QString &board_date)
{
    Transaction tx(db);
    if (!order_lock::lock(db, row.o_fdate, row.o_scode))
        throw order_gone(row.o_fdate, row.o_scode);
    ChangeRecord record;
    record.orders_locked(db, row.o_fdate, {row.o_scode});
    const Shipment removed = remove_row(db, row);
    record.removed(removed, Kind::Deleted);
    adjust_order(db, row.o_fdate, row.o_scode, -removed.o_outorder, -1);
    renumbered(db, row.o_fdate, row.o_scode, record);
    Recounts recounts(row.o_fdate, board_date);
    recounts.add(row.o_carnum, QString());
    recounts.run(db);
    record.write(db, Kind::Deleted);
    tx.commit();
}

}
