#include "core/shipments/yusa_db.h"
#include "core/data/change_log.h"
#include "core/masterdata/master_db.h"
#include "core/framework/guarded.h"

#include <QJsonObject>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>

namespace yusa_db {
namespace {
QList<QSqlRecord> all_rows(QSqlQuery q)
{
    QList<QSqlRecord> rows;
    while (q.next())
        rows << q.record();
    return rows;
}

Params order_params(const YusaOrder &o)
{
    return {{":ilja", o.date}, {":seq", o.seq}, {":cu", o.customer}, {":hy", o.site}, {":ru", o.spec},
            {":m3", o.quantity}, {":first", o.first_time}, {":wait", o.interval}, {":cement", o.cement},
            {":gravel", o.gravel}, {":japum", o.admixture}, {":hon", o.admixture_rate}};
}

Params load_params(const QString &date, const QString &order_seq, const YusaLoad &l)
{
    return {{":ilja", date}, {":su", order_seq}, {":seq", l.seq}, {":time", l.time},
            {":car", l.vehicle_code}, {":m3", l.m3}, {":nu", l.cumulative}};
}

// Locks the yusa order's row until the transaction ends, as order_lock
// does for r_suju: a write that changes nothing.  False when it is gone.
bool lock_order(const Database &db, const QString &date, const QString &seq)
{
    return db.exec(QStringLiteral("update yu_suju set ysu_order_m3 = ysu_order_m3"
                                  " where ysu_ilja = :ilja and ysu_seq = :seq"),
                   {{":ilja", date}, {":seq", seq}})
           > 0;
}

// The smallest number from `from` on that the date's yusa orders leave free.
long long free_number(const Database &db, const QString &date, long long from)
{
    QSet<long long> taken;
    QSqlQuery q = db.query(QStringLiteral("select ysu_seq from yu_suju where ysu_ilja = :ilja"), {{":ilja", date}});
    while (q.next())
        taken.insert(q.value(0).toString().trimmed().toLongLong());
    while (taken.contains(from))
        ++from;
    return from;
}

using change_log::Kind;
using Row = std::optional<QJsonObject>;

Row order_row(const Database &db, const QString &date, const QString &seq)
{
    return change_log::read_row(db, QStringLiteral("select * from yu_suju where ysu_ilja = :ilja and ysu_seq = :seq"),
                                {{":ilja", date}, {":seq", seq}});
}

Row load_row(const Database &db, const QString &date, const QString &order_seq, const QString &seq)
{
    return change_log::read_row(db, QStringLiteral("select * from yu_cholha where ych_ilja = :ilja"
                                                   " and ych_su_seq = :su and ych_seq = :seq"),
                                {{":ilja", date}, {":su", order_seq}, {":seq", seq}});
}

QMap<QString, QJsonObject> load_rows(const Database &db, const QString &date, const QString &order_seq)
{
    QMap<QString, QJsonObject> rows;
    QSqlQuery q = db.query(QStringLiteral("select * from yu_cholha where ych_ilja = :ilja and ych_su_seq = :su"),
                           {{":ilja", date}, {":su", order_seq}});
    while (q.next()) {
        const QJsonObject row = change_log::row_json(q.record());
        rows.insert(row.value(QLatin1String("ych_seq")).toString(), row);
    }
    return rows;
}

change_log::Entry order_entry(Kind kind, const QString &date, const QString &seq, const Row &before, const Row &after)
{
    change_log::Entry e;
    e.table = QStringLiteral("yu_suju");
    e.kind = kind;
    e.work_date = date;
    e.order_no = QLatin1Char('Y') + seq;
    e.key = date + QStringLiteral(" Y") + seq;
    e.before = before;
    e.after = after;
    return e;
}

change_log::Entry load_entry(Kind kind, const QString &date, const QString &order_seq, const QString &seq,
                             const Row &before, const Row &after)
{
    change_log::Entry e;
    e.table = QStringLiteral("yu_cholha");
    e.kind = kind;
    e.work_date = date;
    e.order_no = QLatin1Char('Y') + order_seq;
    e.key = date + QStringLiteral(" Y") + order_seq + QLatin1Char('-') + seq;
    e.vehicle_code = (after ? *after : *before).value(QLatin1String("ych_ca_number")).toString();
    e.before = before;
    e.after = after;
    return e;
}

void write_one(const Database &db, const change_log::Entry &e)
{
    change_log::Changes changes;
    changes.add(e);
    changes.write(db);
}

void insert_order_row(const Database &db, const YusaOrder &order);

void delete_loads(const Database &db, const QString &date, const QString &order_seq)
{
    db.exec(QStringLiteral("delete from yu_cholha where ych_ilja = :ilja and ych_su_seq = :su"),
            {{":ilja", date}, {":su", order_seq}});
}
}

YusaOrder order_from(const QSqlRecord &row)
{
    const auto text = [&row](const char *field) { return row.value(QLatin1String(field)).toString(); };
    return {text("ysu_ilja"), text("ysu_seq"), text("ysu_cu_name"), text("ysu_hy_name"),
            text("ysu_ru_name"), number_or_zero(row.value(QStringLiteral("ysu_order_m3"))),
            text("ysu_first_time"), text("ysu_wait_time"), text("ysu_cement"), text("ysu_gravel"),
            text("ysu_japum"), text("ysu_hon")};
}

YusaLoad load_from(const QSqlRecord &row)
{
    const auto text = [&row](const char *field) { return row.value(QLatin1String(field)).toString(); };
    return {text("ych_seq"), text("ych_time"), text("ych_ca_number"),
            number_or_zero(row.value(QStringLiteral("ych_chol_m3"))),
            number_or_zero(row.value(QStringLiteral("ych_nu_m3")))};
}

QList<QSqlRecord> orders(const Database &db, const QString &date)
{
    return all_rows(db.query(QStringLiteral("select * from yu_suju where ysu_ilja = :ilja order by ysu_seq"),
                             {{":ilja", date}}));
}

QList<QSqlRecord> loads(const Database &db, const QString &date, const QString &order_seq)
{
    return all_rows(db.query(QStringLiteral("select * from yu_cholha where ych_ilja = :ilja and ych_su_seq = :su"
                                            " order by ych_seq"),
                             {{":ilja", date}, {":su", order_seq}}));
}

std::optional<YusaOrder> find_order(const Database &db, const QString &date, const QString &seq)
{
    QSqlQuery q = db.query(QStringLiteral("select * from yu_suju where ysu_ilja = :ilja and ysu_seq = :seq"),
                           {{":ilja", date}, {":seq", seq}});
    if (!q.next())
        return std::nullopt;
    return order_from(q.record());
}

void insert_order(const Database &db, const YusaOrder &order)
{
    Transaction t(db);
    insert_order_row(db, order);
    t.commit();
}

namespace {
void insert_order_row(const Database &db, const YusaOrder &order)
{
    db.exec(QStringLiteral("insert into yu_suju (ysu_ilja, ysu_seq, ysu_cu_name, ysu_hy_name, ysu_ru_name,"
                           " ysu_order_m3, ysu_first_time, ysu_wait_time, ysu_cement, ysu_gravel, ysu_japum,"
                           " ysu_hon) values (:ilja, :seq, :cu, :hy, :ru, :m3, :first, :wait, :cement, :gravel,"
                           " :japum, :hon)"),
            order_params(order));
    write_one(db, order_entry(Kind::Entered, order.date, order.seq, std::nullopt, order_row(db, order.date, order.seq)));
}
}

NewOrder insert_new_order(const Database &db, const YusaOrder &order)
{
    bool ok = false;
    const long long proposed = order.seq.trimmed().toLongLong(&ok);
    if (!ok || proposed < 1)
        throw ActionError(QStringLiteral("순번 \"%1\"을(를) 숫자로 입력하시오.").arg(order.seq));
    // Another PC may store the same free number between our look and our
    // insert; its key then refuses ours and the number is drawn again.
    YusaOrder numbered = order;
    in_numbering_transaction(db, [&] {
        numbered.seq = QString::number(free_number(db, order.date, proposed));
        insert_order_row(db, numbered);
    });
    return {numbered.seq, numbered.seq.toLongLong() != proposed};
}

bool update_order(const Database &db, const YusaOrder &order)
{
    Transaction t(db);
    if (!lock_order(db, order.date, order.seq))
        return false;
    const Row before = order_row(db, order.date, order.seq);
    db.exec(QStringLiteral("update yu_suju set ysu_cu_name = :cu, ysu_hy_name = :hy, ysu_ru_name = :ru,"
                           " ysu_order_m3 = :m3, ysu_first_time = :first, ysu_wait_time = :wait,"
                           " ysu_cement = :cement, ysu_gravel = :gravel, ysu_japum = :japum, ysu_hon = :hon"
                           " where ysu_ilja = :ilja and ysu_seq = :seq"),
            order_params(order));
    write_one(db, order_entry(Kind::Corrected, order.date, order.seq, before, order_row(db, order.date, order.seq)));
    t.commit();
    return true;
}

void delete_order(const Database &db, const QString &date, const QString &seq)
{
    Transaction t(db);
    if (!lock_order(db, date, seq))
        return;
    change_log::Changes changes;
    changes.add(order_entry(Kind::Deleted, date, seq, order_row(db, date, seq), std::nullopt));
    const QMap<QString, QJsonObject> loads = load_rows(db, date, seq);
    for (auto it = loads.cbegin(); it != loads.cend(); ++it)
        changes.add(load_entry(Kind::Deleted, date, seq, it.key(), it.value(), std::nullopt));
    db.exec(QStringLiteral("delete from yu_suju where ysu_ilja = :ilja and ysu_seq = :seq"),
            {{":ilja", date}, {":seq", seq}});
    delete_loads(db, date, seq);
    changes.write(db);
    t.commit();
}

int load_count(const Database &db, const QString &date, const QString &order_seq)
{
    return int(number_or_zero(db.scalar(QStringLiteral("select count(*) from yu_cholha"
                                                       " where ych_ilja = :ilja and ych_su_seq = :su"),
                                        {{":ilja", date}, {":su", order_seq}})));
}

bool load_exists(const Database &db, const QString &date, const QString &order_seq, const QString &seq)
{
    return !db.scalar(QStringLiteral("select ych_seq from yu_cholha"
                                     " where ych_ilja = :ilja and ych_su_seq = :su and ych_seq = :seq"),
                      {{":ilja", date}, {":su", order_seq}, {":seq", seq}})
                .isNull();
}

namespace {
void insert_load_row(const Database &db, const QString &date, const QString &order_seq, const YusaLoad &load)
{
    db.exec(QStringLiteral("insert into yu_cholha (ych_ilja, ych_su_seq, ych_seq, ych_time, ych_ca_number,"
                           " ych_chol_m3, ych_nu_m3) values (:ilja, :su, :seq, :time, :car, :m3, :nu)"),
            load_params(date, order_seq, load));
}
}

void insert_load(const Database &db, const QString &date, const QString &order_seq, const YusaLoad &load)
{
    Transaction t(db);
    insert_load_row(db, date, order_seq, load);
    write_one(db, load_entry(Kind::Entered, date, order_seq, load.seq, std::nullopt,
                             load_row(db, date, order_seq, load.seq)));
    t.commit();
}

void update_load(const Database &db, const QString &date, const QString &order_seq, const YusaLoad &load)
{
    Transaction t(db);
    lock_order(db, date, order_seq);
    const Row before = load_row(db, date, order_seq, load.seq);
    db.exec(QStringLiteral("update yu_cholha set ych_time = :time, ych_ca_number = :car, ych_chol_m3 = :m3,"
                           " ych_nu_m3 = :nu where ych_ilja = :ilja and ych_su_seq = :su and ych_seq = :seq"),
            load_params(date, order_seq, load));
    if (before)
        write_one(db, load_entry(Kind::Corrected, date, order_seq, load.seq, before,
                                 load_row(db, date, order_seq, load.seq)));
    t.commit();
}

void delete_load(const Database &db, const QString &date, const QString &order_seq, const QString &seq)
{
    Transaction t(db);
    // After a generation running on another PC, not in the middle of it.
    lock_order(db, date, order_seq);
    const Row before = load_row(db, date, order_seq, seq);
    db.exec(QStringLiteral("delete from yu_cholha where ych_ilja = :ilja and ych_su_seq = :su and ych_seq = :seq"),
            {{":ilja", date}, {":su", order_seq}, {":seq", seq}});
    if (before)
        write_one(db, load_entry(Kind::Deleted, date, order_seq, seq, before, std::nullopt));
    t.commit();
}

QStringList vehicles_in_service(const Database &db)
{
    QSqlQuery q = db.query(QStringLiteral("select code from car_code where c_state = 'YES' order by code"));
    QStringList codes;
    while (q.next())
        codes << q.value(0).toString();
    return codes;
}

QList<GeneratedLoad> generate(const Database &db, const QString &date, const QString &order_seq,
                              QRandomGenerator &random)
{
    Transaction t(db);
    // Two PCs generating the same order's loads take turns; each reads the
    // order as saved when its turn comes.
    const std::optional<YusaOrder> order =
        lock_order(db, date, order_seq) ? find_order(db, date, order_seq) : std::nullopt;
    if (!order)
        throw ActionError(QStringLiteral("유사 수주 %1이(가) 저장되어 있지 않습니다. 먼저 저장하시오."
                                         " (출하 자료를 만들지 않았습니다.)")
                              .arg(order_seq));
    const LoadPlan plan = generate_loads({order->quantity, order->first_time, order->interval},
                                         vehicles_in_service(db), random);
    if (!plan.problem.isEmpty())
        throw ActionError(plan.problem);
    const QMap<QString, QJsonObject> before = load_rows(db, date, order_seq);
    delete_loads(db, date, order_seq);
    for (const GeneratedLoad &l : plan.loads)
        insert_load_row(db, date, order_seq, {l.seq, l.time, l.vehicle_code, l.m3, l.cumulative});
    const QMap<QString, QJsonObject> after = load_rows(db, date, order_seq);
    change_log::Changes changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        changes.add(load_entry(Kind::Generated, date, order_seq, it.key(), it.value(),
                               after.contains(it.key()) ? Row(after.value(it.key())) : std::nullopt));
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key()))
            changes.add(load_entry(Kind::Generated, date, order_seq, it.key(), std::nullopt, it.value()));
    changes.write(db);
    t.commit();
    return plan.loads;
}

TicketVehicle ticket_vehicle(const Database &db, const QString &code)
{
    QSqlQuery q = db.query(QStringLiteral("select code, scode, name from car_code where code = :c"), {{":c", code}});
    if (!q.next())
        return {};
    return {q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
}


}
