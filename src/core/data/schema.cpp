#include "core/data/schema.h"
#include "core/framework/database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace schema {
namespace {
// Widths follow the entry fields and zero-fill rules; free texts get room.
constexpr const char *date = "varchar(10)";
constexpr const char *text = "varchar(100)";
constexpr const char *number = "double precision";
constexpr const char *whole = "integer";
}

const QList<Table> &tables()
{
    static const QList<Table> all{
        {"r_suju",
         {{"ilja", date}, {"seq", "varchar(2)"}, {"grcd", "varchar(4)"}, {"v_inout", "varchar(30)"},
          {"code", "varchar(3)"}, {"v_station", "varchar(40)"}, {"time_", "varchar(10)"},
          {"saup", "varchar(2)"}, {"dist", number}, {"v_okno", "varchar(10)"},
          {"memo", "varchar(30)"}, {"ground", "varchar(50)"}, {"remi_code", "varchar(4)"},
          {"v_rule", "varchar(10)"}, {"order_m3", number}, {"danga", number}, {"vat", "varchar(1)"},
          {"v_outorder", number}, {"v_reorder", number}, {"v_ccount", whole},
          {"v_ftime", "varchar(8)"}, {"v_ltime", "varchar(8)"}, {"v_nocarin", "varchar(10)"},
          {"v_cincout", "varchar(8)"}, {"v_state", "varchar(3)"}, {"kind", "varchar(10)"},
          {"cement", text}, {"gravel", text}, {"japum", text}, {"con", text}, {"v_hon", text},
          {"ondo", whole}, {"yeom", text}, {"kong", text}},
         {"ilja", "seq"},
         {},
         // Order entry's price proposal and its four value lists; whether a
         // list has orders without the value, from an index of those alone
         // (a plan that cannot turn into a walk over every order).
         {{"grcd", "code", "remi_code", "ilja"}, {"cement", "ilja"}, {"gravel", "ilja"},
          {"japum", "ilja"}, {"con", "ilja"},
          {"ilja", "where cement is null"}, {"ilja", "where gravel is null"},
          {"ilja", "where japum is null"}, {"ilja", "where con is null"}}},
        {"cholha",
         {{"o_date", date}, {"o_fdate", date}, {"o_otime", "varchar(8)"}, {"o_scode", "varchar(2)"},
          {"o_count", "varchar(3)"}, {"o_carnum", "varchar(9)"}, {"o_hogi", "varchar(1)"},
          {"o_outorder", number}, {"o_moltal", number}, {"o_ccode", "varchar(4)"},
          {"o_return", "varchar(10)"}},
         {},
         {{"o_fdate", "o_scode", "o_count"},
          {"o_date", "o_carnum"},
          {"o_carnum", "o_date"},
          {"o_fdate", "o_otime"},
          {"o_date", "o_otime"}},
         // The status lists' period totals per vehicle, read from the index alone.
         {{"o_fdate", "o_carnum", "o_outorder"}}},
        {"car_code",
         {{"saup", "varchar(2)"}, {"code", "varchar(9)"}, {"scode", "varchar(4)"},
          {"name", "varchar(10)"}, {"m3", number}, {"wight", number}, {"carco", "varchar(2)"},
          {"company", "varchar(10)"}, {"gubun", "varchar(10)"}, {"sudang", "varchar(2)"},
          {"c_bool", "varchar(1)"}, {"c_otime", "varchar(8)"}, {"c_state", "varchar(3)"},
          {"c_dsum", whole}, {"c_msum", whole}, {"c_station", "varchar(40)"}},
         {"code"},
         {{"scode"}, {"c_state", "code"}}},
        {"customer",
         {{"saup", "varchar(2)"}, {"cust_set", "varchar(1)"}, {"cust_seq", whole},
          {"grcd", "varchar(4)"}, {"name", "varchar(30)"}, {"kawn_sa", "varchar(1)"},
          {"vat", "varchar(1)"}, {"misu", "varchar(1)"}, {"rank", "varchar(2)"},
          {"julsa", "varchar(4)"}},
         {"grcd"},
         {{"name"}}},
        {"r_hyunjang",
         {{"saup", "varchar(2)"}, {"grcd", "varchar(4)"}, {"code", "varchar(3)"},
          {"name", "varchar(40)"}, {"man_code", "varchar(3)"}, {"man_name", "varchar(40)"},
          {"misu", "varchar(1)"}, {"grcd_name", "varchar(30)"}, {"grcode", "varchar(7)"},
          {"kawn_sa", "varchar(1)"}, {"office_tel", "varchar(20)"}, {"ground_tel", "varchar(20)"},
          {"memo", text}, {"order_nul", number}, {"build", text}, {"gover", text},
          {"gover_num", "varchar(30)"}, {"ilja", date}},
         {"grcd", "code"},
         {{"name"}}},
        {"r_size",
         {{"remi_code", "varchar(4)"}, {"standard", "varchar(30)"}, {"rul_ks", "varchar(10)"},
          {"ilja", date}, {"gubun", "varchar(1)"}, {"kind", "varchar(10)"},
          {"kwan_danga", number}, {"sa_danga", number}, {"remi_code1", "varchar(10)"}},
         {"remi_code"},
         {{"standard"}}},
        {"youngup",
         {{"code", "varchar(3)"}, {"man", "varchar(40)"}},
         {"code"},
         {}},
        {"r_hyun_order",
         {{"grcd", "varchar(4)"}, {"code", "varchar(3)"}, {"remi_code", "varchar(4)"},
          {"kind", "varchar(10)"}, {"standard", "varchar(10)"}, {"demand1", date},
          {"demand2", date}, {"amount", number}, {"cost", number}, {"order_num", "varchar(20)"},
          {"delivery", date}, {"memo", "varchar(30)"}},
         {},
         {{"grcd", "code", "remi_code", "demand1"}}},
        {"r_mast",
         {{"grcd", "varchar(4)"}, {"code", "varchar(3)"}, {"remi_code", "varchar(4)"},
          {"remi_code1", "varchar(10)"}, {"standard", "varchar(30)"}, {"kind", "varchar(10)"},
          {"ilja", date}, {"m3", number}, {"kum", number}, {"vatkum", number}, {"hap", number}},
         {},
         {{"grcd", "code", "remi_code", "ilja"}}},
        {"cont_carry",
         {{"ilja", date}, {"seq", "varchar(2)"}, {"gubun", "varchar(10)"}, {"danga", number}},
         {},
         {{"ilja", "seq"}}},
        {"car_cust",
         {{"code", "varchar(2)"}, {"name", "varchar(40)"}},
         {"code"},
         {}},
        {"carry",
         {{"code", "varchar(10)"}, {"dis_kum", number}},
         {"code"},
         {}},
        {"enrol",
         {{"name", "varchar(40)"}, {"japum", "varchar(40)"}},
         {},
         {}},
        {"yu_suju",
         {{"ysu_ilja", date}, {"ysu_seq", "varchar(10)"}, {"ysu_cu_name", "varchar(30)"},
          {"ysu_hy_name", "varchar(40)"}, {"ysu_ru_name", "varchar(30)"},
          {"ysu_order_m3", number}, {"ysu_first_time", "varchar(5)"},
          {"ysu_wait_time", "varchar(2)"}, {"ysu_cement", text}, {"ysu_gravel", text},
          {"ysu_japum", text}, {"ysu_hon", text}},
         {"ysu_ilja", "ysu_seq"},
         {}},
        {"yu_cholha",
         {{"ych_ilja", date}, {"ych_su_seq", "varchar(10)"}, {"ych_seq", "varchar(3)"},
          {"ych_time", "varchar(5)"}, {"ych_ca_number", "varchar(9)"},
          {"ych_chol_m3", number}, {"ych_nu_m3", number}},
         {"ych_ilja", "ych_su_seq", "ych_seq"},
         {}},
        // Added tables.
        // The identity each batch-unit load got when it was journalled,
        // written with the load: a replay that finds it does nothing.
        {"cholha_ident",
         {{"load_id", "varchar(40)"}, {"o_fdate", date}, {"o_scode", "varchar(2)"}, {"o_count", "varchar(3)"},
          {"o_hogi", "varchar(1)"}, {"journalled", "varchar(19)"}},
         {"load_id"},
         {},
         {},
         true},
        // Every change of a shipment, an order, an auto-book order or load and
        // a vehicle's service state: one row per changed row, written with the
        // change.  The key begins with the time, so it orders the log.
        {"change_log",
         {{"entry_id", "varchar(40)"}, {"logged_at", "varchar(19)"}, {"op_name", "varchar(40)"},
          {"station", "varchar(64)"}, {"tbl_name", "varchar(20)"}, {"row_key", "varchar(60)"},
          {"kind", "varchar(20)"}, {"work_date", date}, {"order_no", "varchar(10)"},
          {"vehicle_code", "varchar(9)"}, {"vehicle_no", "varchar(10)"}, {"changed", "varchar(1000)"},
          {"before_json", "varchar(8000)"}, {"after_json", "varchar(8000)"}},
         {"entry_id"},
         {},
         {},
         true},
        // Every delivery ticket printed or written to PDF, by any path.
        {"ticket_register",
         {{"entry_id", "varchar(40)"}, {"printed_at", "varchar(19)"}, {"op_name", "varchar(40)"},
          {"station", "varchar(64)"}, {"print_path", "varchar(20)"}, {"reprint", "varchar(1)"},
          {"output", "varchar(400)"}, {"book", "varchar(10)"}, {"work_date", date},
          {"order_no", "varchar(10)"}, {"trip_no", "varchar(10)"}, {"load_time", "varchar(8)"},
          {"vehicle_no", "varchar(10)"}, {"ticket_json", "varchar(8000)"}},
         {"entry_id"},
         {{"work_date", "order_no", "load_time"}},
         {},
         true},
    };
    return all;
}

QStringList missing_tables(const Database &db)
{
    db.ensure_open();
    QStringList existing = db.connection().tables(QSql::Tables);
    for (QString &t : existing)
        t = t.toLower();
    QStringList missing;
    for (const Table &t : tables())
        if (!existing.contains(QString::fromLatin1(t.name)))
            missing << QString::fromLatin1(t.name);
    return missing;
}

QString missing_tables_problem(const Database &db)
{
    const QStringList missing = missing_tables(db);
    if (missing.isEmpty())
        return QString();
    return QStringLiteral("데이터베이스에 표가 없습니다: %1 (veldaro --create-schema)").arg(missing.join(QStringLiteral(", ")));
}

QString file_problem(const Database &db)
{
    if (db.is_postgres())
        return QString();
    QSqlQuery q = db.query(QStringLiteral("pragma quick_check"));
    const QString first = q.next() ? q.value(0).toString() : QString();
    return first == QLatin1String("ok") ? QString() : QStringLiteral("데이터베이스 파일이 손상되었습니다: %1").arg(first);
}

QString file_problem_on_own_connection(const QString &connection_name)
{
    const QString name = connection_name + QStringLiteral("-check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString problem;
    {
        QSqlDatabase::cloneDatabase(connection_name, name);
        try {
            problem = file_problem(Database(name));
        } catch (const DbError &e) {
            problem = e.message();
        }
        QSqlDatabase::database(name, false).close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

QString problems(const Database &db)
{
    QStringList said{missing_tables_problem(db), file_problem(db)};
    said.removeAll(QString());
    return said.join(QStringLiteral(" / "));
}

bool is_empty(const Database &db)
{
    return missing_tables(db).size() == tables().size();
}

namespace {
QStringList create(const Database &db, bool added_only)
{
    const QStringList missing = missing_tables(db);
    // An index on a table of millions of rows takes its time.
    const Database::NoStatementLimit unlimited;
    Transaction tx(db);
    if (db.is_postgres())
        db.exec(QStringLiteral("set local statement_timeout = 0"));
    for (const Table &t : tables()) {
        if (added_only && !t.added)
            continue;
        const QString name = QString::fromLatin1(t.name);
        const bool made = missing.contains(name);
        if (made) {
            QStringList defs;
            for (const Column &c : t.columns)
                defs << QStringLiteral("%1 %2").arg(QString::fromLatin1(c.name), QString::fromLatin1(c.type));
            if (!t.primary_key.isEmpty())
                defs << QStringLiteral("primary key (%1)").arg(t.primary_key.join(QStringLiteral(", ")));
            db.exec(QStringLiteral("create table %1 (%2)").arg(name, defs.join(QStringLiteral(", "))));
        }
        int n = 0;
        for (const QStringList &cols : t.indexes) {
            ++n;
            if (made)
                db.exec(QStringLiteral("create index %1_ix%2 on %1 (%3)")
                            .arg(name).arg(n).arg(cols.join(QStringLiteral(", "))));
        }
        for (QStringList cols : t.added_indexes) {
            // A last entry "where ..." makes a partial index.
            QString where;
            if (cols.last().startsWith(QLatin1String("where ")))
                where = QLatin1Char(' ') + cols.takeLast();
            db.exec(QStringLiteral("create index if not exists %1_ix%2 on %1 (%3)%4")
                        .arg(name).arg(++n).arg(cols.join(QStringLiteral(", ")), where));
        }
    }
    tx.commit();
    if (!added_only)
        return missing;
    QStringList made;
    for (const Table &t : tables())
        if (t.added && missing.contains(QString::fromLatin1(t.name)))
            made << QString::fromLatin1(t.name);
    return made;
}
}

QStringList create_missing(const Database &db)
{
    return create(db, false);
}

QStringList create_added(const Database &db)
{
    return create(db, true);
}

}
