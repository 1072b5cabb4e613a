#include "core/orders/order_db.h"
#include "core/data/change_log.h"
#include "core/framework/guarded.h"
#include "core/masterdata/master_db.h"
#include "core/masterdata/text_pad.h"
#include "core/orders/order_lock.h"

namespace order_db {
namespace {
// Numbers go in as numbers; an empty field counts 0.
QVariant number(const QString &plain)
{
    return plain.toDouble();
}

QVariant whole(const QString &plain)
{
    return qint64(plain.toDouble());
}

QString key_column(const QString &column)
{
    static const QStringList allowed{QStringLiteral("cement"), QStringLiteral("gravel"), QStringLiteral("japum"),
                                     QStringLiteral("con")};
    if (!allowed.contains(column))
        throw ActionError(QStringLiteral("알 수 없는 항목: %1").arg(column));
    return column;
}
}

QStringList distinct_values(const Database &db, const QString &column)
{
    const QString c = key_column(column);
    // One index seek per value instead of a scan of every order ever taken.
    QSqlQuery q = db.query(QStringLiteral("with recursive v (x) as (select min(%1) from r_suju"
                                          " union all select (select min(%1) from r_suju where %1 > v.x)"
                                          " from v where v.x is not null)"
                                          " select x from v where x is not null").arg(c));
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    // Orders without the text show as an empty item, as an empty text does.
    if (!values.contains(QString())
        && !db.scalar(QStringLiteral("select min(ilja) from r_suju where %1 is null").arg(c)).isNull())
        values.prepend(QString());
    return values;
}

QList<QSqlRecord> day_orders(const Database &db, const QString &date)
{
    return fetch_records(db, QStringLiteral("select seq, v_inout, v_station, remi_code, v_rule, kind, order_m3,"
                                            " danga, time_, ground, dist, ondo, memo"
                                            " from r_suju where ilja = :d order by seq"),
                         {{":d", date}});
}

QString next_seq(const Database &db, const QString &date)
{
    const QVariant last = db.scalar(QStringLiteral("select max(seq) from r_suju where ilja = :d"), {{":d", date}});
    if (last.isNull())
        return QStringLiteral("01");
    bool ok = false;
    const int n = last.toString().trimmed().toInt(&ok);
    if (!ok)
        throw ActionError(QStringLiteral("'%1'은(는) 올바른 정수가 아닙니다.").arg(last.toString()));
    return pad_zero(QString::number(n + 1), 2);
}

std::optional<QSqlRecord> load_order(const Database &db, const QString &date, const QString &seq)
{
    const QList<QSqlRecord> rows = fetch_records(
        db,
        QStringLiteral("select su.code, su.grcd, su.saup, su.ilja, su.seq, su.remi_code, su.order_m3, su.danga,"
                       " su.time_, su.memo, su.dist, su.ground, su.ondo, su.v_rule, su.kind, su.cement, su.gravel,"
                       " su.japum, su.con, su.v_okno, su.v_hon,"
                       " hy.name as site_name, hy.man_code, hy.office_tel, hy.ground_tel, hy.memo as site_memo,"
                       " hy.order_nul, hy.gover, hy.gover_num, hy.build,"
                       " cu.julsa, cu.name as cust_name, cu.kawn_sa, cu.misu as cust_misu, cu.vat as cust_vat,"
                       " cu.rank, yu.man"
                       " from r_suju su"
                       " left join customer cu on su.grcd = cu.grcd"
                       " left join r_hyunjang hy on su.code = hy.code and su.grcd = hy.grcd"
                       " left join youngup yu on hy.man_code = yu.code"
                       " where su.ilja = :d and su.seq = :s"),
        {{":d", date}, {":s", seq}});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

bool order_exists(const Database &db, const QString &date, const QString &seq)
{
    return !db.scalar(QStringLiteral("select ilja from r_suju where ilja = :d and seq = :s"),
                      {{":d", date}, {":s", seq}})
                .isNull();
}

namespace {
void insert_row(const Database &db, const OrderEntry &o)
{
    db.exec(QStringLiteral("insert into r_suju (ilja, seq, grcd, v_inout, code, v_station, time_, saup, dist,"
                           " v_okno, memo, ground, remi_code, v_rule, order_m3, danga, vat, v_outorder, v_reorder,"
                           " v_ftime, v_ltime, v_ccount, v_nocarin, v_cincout, v_state, kind, cement, gravel,"
                           " japum, con, v_hon)"
                           " values (:ilja, :seq, :grcd, :v_inout, :code, :v_station, :time_, 'AA', :dist,"
                           " :v_okno, :memo, :ground, :remi_code, :v_rule, :order_m3, :danga, :vat, 0, :v_reorder,"
                           " '00:00', '00:00', 0, '0', '00:00', 'YES', :kind, :cement, :gravel,"
                           " :japum, :con, :v_hon)"),
            {{":ilja", o.ilja}, {":seq", o.seq}, {":grcd", o.grcd}, {":v_inout", o.v_inout},
             {":code", o.code}, {":v_station", o.v_station}, {":time_", o.time_}, {":dist", whole(o.dist)},
             {":v_okno", o.v_okno}, {":memo", o.memo}, {":ground", o.ground}, {":remi_code", o.remi_code},
             {":v_rule", o.v_rule}, {":order_m3", number(o.order_m3)}, {":danga", number(o.danga)},
             {":vat", o.vat}, {":v_reorder", number(o.order_m3)}, {":kind", o.kind}, {":cement", o.cement},
             {":gravel", o.gravel}, {":japum", o.japum}, {":con", o.con}, {":v_hon", o.v_hon}});
}
}

QString insert_order(const Database &db, const OrderEntry &o)
{
    QString stored;
    in_numbering_transaction(db, [&] {
        OrderEntry row = o;
        if (order_exists(db, row.ilja, row.seq)) {
            row.seq = next_seq(db, row.ilja);
            if (row.seq == QLatin1String("00"))  // past 99
                throw ActionError(QStringLiteral("순번을 확인하세요"));
        }
        insert_row(db, row);
        change_log::Changes changes;
        changes.add(change_log::order_entry(change_log::Kind::Entered, std::nullopt,
                                            change_log::order_row(db, row.ilja, row.seq)));
        changes.write(db);
        stored = row.seq;
    });
    return stored;
}

bool update_order(const Database &db, const OrderEntry &o)
{
    Transaction tx(db);
    // Locked before the shipped quantity is read: a load being recorded
    // either is in it or waits until this update is committed.
    if (!order_lock::lock(db, o.ilja, o.seq))
        return false;
    const std::optional<QJsonObject> before = change_log::order_row(db, o.ilja, o.seq);
    const QVariant shipped = db.scalar(QStringLiteral("select v_outorder from r_suju where ilja = :d and seq = :s"),
                                       {{":d", o.ilja}, {":s", o.seq}});
    const double remaining = qMax(0.0, o.order_m3.toDouble() - number_or_zero(shipped));
    db.exec(QStringLiteral("update r_suju set grcd = :grcd, v_inout = :v_inout, code = :code, v_station = :v_station,"
                           " time_ = :time_, saup = 'AA', dist = :dist, v_okno = :v_okno, memo = :memo, vat = :vat,"
                           " ground = :ground, remi_code = :remi_code, v_rule = :v_rule, order_m3 = :order_m3,"
                           " danga = :danga, v_reorder = :v_reorder, kind = :kind, cement = :cement,"
                           " gravel = :gravel, japum = :japum, con = :con, v_hon = :v_hon"
                           " where ilja = :ilja and seq = :seq"),
            {{":grcd", o.grcd}, {":v_inout", o.v_inout}, {":code", o.code}, {":v_station", o.v_station},
             {":time_", o.time_}, {":dist", whole(o.dist)}, {":v_okno", o.v_okno}, {":memo", o.memo},
             {":vat", o.vat}, {":ground", o.ground}, {":remi_code", o.remi_code}, {":v_rule", o.v_rule},
             {":order_m3", number(o.order_m3)}, {":danga", number(o.danga)}, {":v_reorder", remaining},
             {":kind", o.kind}, {":cement", o.cement}, {":gravel", o.gravel}, {":japum", o.japum},
             {":con", o.con}, {":v_hon", o.v_hon}, {":ilja", o.ilja}, {":seq", o.seq}});
    change_log::Changes changes;
    changes.add(change_log::order_entry(change_log::Kind::Corrected, before, change_log::order_row(db, o.ilja, o.seq)));
    changes.write(db);
    tx.commit();
    return true;
}

DeleteOutcome delete_order(const Database &db, const QString &date, const QString &seq)
{
    DeleteOutcome out;
    Transaction tx(db);
    // Locked before the loads are counted: a load recorded at the same
    // moment is either counted here or finds the order gone.
    const bool there = order_lock::lock(db, date, seq);
    if (there) {
        out.loads = int(number_or_zero(db.scalar(QStringLiteral("select count(*) from cholha"
                                                                " where o_fdate = :d and o_scode = :s"),
                                                 {{":d", date}, {":s", seq}})));
        if (out.loads > 0)
            return out;
        const std::optional<QJsonObject> before = change_log::order_row(db, date, seq);
        out.deleted = db.exec(QStringLiteral("delete from r_suju where ilja = :d and seq = :s"),
                              {{":d", date}, {":s", seq}}) > 0;
        change_log::Changes changes;
        changes.add(change_log::order_entry(change_log::Kind::Deleted, before, std::nullopt));
        changes.write(db);
    }
    db.exec(QStringLiteral("delete from cont_carry where ilja = :d and seq = :s"), {{":d", date}, {":s", seq}});
    tx.commit();
    return out;
}

int load_count(const Database &db, const QString &date, const QString &seq)
{
    return int(number_or_zero(db.scalar(QStringLiteral("select count(*) from cholha where o_fdate = :d and o_scode = :s"),
                                        {{":d", date}, {":s", seq}})));
}

QStringList changed_texts(const Database &db, const OrderEntry &order)
{
    QSqlQuery q = db.query(QStringLiteral("select grcd, code, remi_code from r_suju where ilja = :d and seq = :s"),
                           {{":d", order.ilja}, {":s", order.seq}});
    QStringList changed;
    if (!q.next())
        return changed;
    if (q.value(0).toString() != order.grcd)
        changed << QStringLiteral("거래처");
    if (q.value(1).toString() != order.code || q.value(0).toString() != order.grcd)
        changed << QStringLiteral("현장");
    if (q.value(2).toString() != order.remi_code)
        changed << QStringLiteral("규격");
    return changed;
}

QString last_price(const Database &db, const QString &grcd, const QString &code, const QString &remi_code)
{
    QSqlQuery q = db.query(QStringLiteral("select danga from r_suju"
                                          " where grcd = :g1 and code = :c1 and remi_code = :r1 and ilja ="
                                          " (select max(ilja) from r_suju where grcd = :g2 and code = :c2"
                                          " and remi_code = :r2)"
                                          " order by seq desc"),
                           {{":g1", grcd}, {":c1", code}, {":r1", remi_code},
                            {":g2", grcd}, {":c2", code}, {":r2", remi_code}});
    return q.next() ? q.value(0).toString() : QString();
}

}
