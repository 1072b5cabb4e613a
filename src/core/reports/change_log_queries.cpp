#include "core/reports/change_log_queries.h"
#include "core/data/change_log.h"
#include "core/data/ticket_register.h"
#include "core/framework/database.h"
#include "core/framework/number_text.h"
#include "core/framework/stored_text.h"

#include <QDate>
#include <QJsonObject>
#include <QSqlField>
#include <QSqlQuery>
#include <memory>

namespace change_log_queries {
namespace {
// Conditions of the filter other than the period; the values bound.
QString conditions(const Filter &f, Params &params, bool log)
{
    QString sql;
    if (!f.order_no.isEmpty()) {
        sql += QStringLiteral(" and order_no = :o");
        params.append({QStringLiteral(":o"), f.order_no});
    }
    if (!f.vehicle.isEmpty()) {
        sql += log ? QStringLiteral(" and (vehicle_no = :v1 or vehicle_code = :v2)") : QStringLiteral(" and vehicle_no = :v1");
        params.append({QStringLiteral(":v1"), f.vehicle});
        if (log)
            params.append({QStringLiteral(":v2"), f.vehicle});
    }
    if (log && !f.kind.isEmpty()) {
        sql += QStringLiteral(" and kind = :k");
        params.append({QStringLiteral(":k"), f.kind});
    }
    if (!f.operator_name.isEmpty()) {
        sql += QStringLiteral(" and op_name = :op");
        params.append({QStringLiteral(":op"), f.operator_name});
    }
    return sql;
}

void add_field(QSqlRecord &r, const QString &name, const QVariant &value)
{
    QSqlField field(name, value.metaType());
    field.setValue(value);
    r.append(field);
}

QString changed_text(const std::optional<QJsonObject> &row, const QStringList &changed)
{
    if (!row)
        return QString();
    QStringList parts;
    for (const QString &f : changed)
        parts << f + QLatin1Char('=') + value_text(row->value(f));
    return parts.join(QStringLiteral(", "));
}

// Rows of the period newest first, one statement per day: the key of both
// tables begins with the time, so each day is a range of the key.
RecordTableModel::RowSource by_day(const Database &db, const Filter &filter, const QString &select, bool log,
                                   std::function<void(QSqlRecord &)> complete)
{
    struct State {
        QDate day;
        QDate first;
        QList<QSqlRecord> rows;
        qsizetype next = 0;
    };
    auto state = std::make_shared<State>();
    state->day = stored::parse_date(filter.last_date);
    state->first = stored::parse_date(filter.first_date);
    return [db, filter, select, log, complete, state](QSqlRecord &row) {
        while (state->next >= state->rows.size()) {
            if (!state->day.isValid() || !state->first.isValid() || state->day < state->first)
                return false;
            Params params{{QStringLiteral(":from"), state->day.toString(QStringLiteral("yyyyMMdd"))},
                          {QStringLiteral(":to"), state->day.addDays(1).toString(QStringLiteral("yyyyMMdd"))}};
            const QString sql = select + QStringLiteral(" where entry_id >= :from and entry_id < :to")
                                + conditions(filter, params, log) + QStringLiteral(" order by entry_id desc");
            state->rows.clear();
            state->next = 0;
            QSqlQuery q = db.query(sql, params);
            while (q.next())
                state->rows << q.record();
            state->day = state->day.addDays(-1);
        }
        row = state->rows.at(state->next++);
        complete(row);
        return true;
    };
}
}

QString value_text(const QJsonValue &v)
{
    if (v.isDouble())
        return general_number(v.toDouble());
    if (v.isNull() || v.isUndefined())
        return QString();
    return v.toVariant().toString();
}

RecordTableModel::RowSource entries(const Database &db, const Filter &filter)
{
    return by_day(db, filter,
                  QStringLiteral("select entry_id, logged_at, op_name, station, kind, tbl_name, row_key, work_date,"
                                 " order_no, vehicle_no, changed, before_json, after_json from change_log"),
                  true, [](QSqlRecord &r) {
                      const std::optional<QJsonObject> before =
                          change_log::parse_json(r.value(QStringLiteral("before_json")).toString());
                      const std::optional<QJsonObject> after =
                          change_log::parse_json(r.value(QStringLiteral("after_json")).toString());
                      const QStringList changed = r.value(QStringLiteral("changed")).toString().split(
                          QLatin1Char(','), Qt::SkipEmptyParts);
                      add_field(r, QStringLiteral("kind_words"),
                                change_log::words_of(r.value(QStringLiteral("kind")).toString()));
                      add_field(r, QStringLiteral("before_text"),
                                before ? changed_text(before, changed) : QStringLiteral("(없음)"));
                      add_field(r, QStringLiteral("after_text"),
                                after ? changed_text(after, changed) : QStringLiteral("(없음)"));
                  });
}

RecordTableModel::RowSource register_rows(const Database &db, const Filter &filter)
{
    return by_day(db, filter,
                  QStringLiteral("select entry_id, printed_at, op_name, station, print_path, reprint, output, book,"
                                 " work_date, order_no, trip_no, load_time, vehicle_no, ticket_json"
                                 " from ticket_register"),
                  false, [](QSqlRecord &r) {
                      add_field(r, QStringLiteral("path_words"),
                                ticket_register::path_words(r.value(QStringLiteral("print_path")).toString()));
                      r.setValue(QStringLiteral("reprint"), r.value(QStringLiteral("reprint")).toString()
                                                                    == QLatin1String("Y")
                                                                ? QStringLiteral("재발행")
                                                                : QStringLiteral("최초"));
                  });
}

QList<QSqlRecord> unprinted(const Database &db, const Filter &f)
{
    // The period once more inside: the register's rows of the period only,
    // not the whole register, are matched against the loads.
    Params params{{QStringLiteral(":a"), f.first_date}, {QStringLiteral(":b"), f.last_date},
                  {QStringLiteral(":ta"), f.first_date}, {QStringLiteral(":tb"), f.last_date},
                  {QStringLiteral(":book"), QStringLiteral("cholha")}};
    QString sql = QStringLiteral("select c.o_fdate, c.o_scode, c.o_count, c.o_otime, c.o_ccode, c.o_outorder, c.o_hogi"
                                 " from cholha c where c.o_fdate >= :a and c.o_fdate <= :b"
                                 " and not exists (select 1 from ticket_register t where t.work_date >= :ta"
                                 " and t.work_date <= :tb and t.work_date = c.o_fdate"
                                 " and t.order_no = c.o_scode and t.load_time = c.o_otime and t.book = :book)");
    if (!f.order_no.isEmpty()) {
        sql += QStringLiteral(" and c.o_scode = :o");
        params.append({QStringLiteral(":o"), f.order_no});
    }
    if (!f.vehicle.isEmpty()) {
        sql += QStringLiteral(" and (c.o_ccode = :v1 or c.o_carnum = :v2)");
        params.append({QStringLiteral(":v1"), f.vehicle});
        params.append({QStringLiteral(":v2"), f.vehicle});
    }
    sql += QStringLiteral(" order by c.o_fdate, c.o_scode, c.o_count, c.o_otime");
    QList<QSqlRecord> rows;
    QSqlQuery q = db.query(sql, params);
    while (q.next())
        rows << q.record();
    return rows;
}

QStringList operators(const Database &db, const QString &first_date, const QString &last_date)
{
    const QDate last = stored::parse_date(last_date);
    QSqlQuery q = db.query(QStringLiteral("select distinct op_name from change_log where entry_id >= :a and entry_id < :b"
                                          " order by op_name"),
                           {{":a", stored::parse_date(first_date).toString(QStringLiteral("yyyyMMdd"))},
                            {":b", last.addDays(1).toString(QStringLiteral("yyyyMMdd"))}});
    QStringList names;
    while (q.next())
        if (!q.value(0).toString().isEmpty())
            names << q.value(0).toString();
    return names;
}

QList<QSqlRecord> all_rows(const RecordTableModel::RowSource &source)
{
    QList<QSqlRecord> rows;
    QSqlRecord r;
    while (source(r))
        rows << r;
    return rows;
}

}
