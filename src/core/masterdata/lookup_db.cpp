#include "core/masterdata/lookup_db.h"
#include "core/masterdata/lookup_state.h"
#include "core/masterdata/master_db.h"

namespace {
using Column = RecordTableModel::Column;

// The statements of one kind.  :t is the typed text, :p its LIKE pattern,
// :k the customer code.  A missing list statement keeps the matches.
struct KindSql {
    int kind;
    const char *title;
    const char *by_code;
    const char *by_name;  // nullptr: a name search runs nothing
    const char *code_list;
    const char *name_list;
    QList<Column> code_columns;
    QList<Column> name_columns;
};

Column col(const char *title, const char *field, int chars = 0)
{
    return {.field = QString::fromLatin1(field), .title = QString::fromUtf8(title), .width_chars = chars};
}

const QList<KindSql> &kinds()
{
    using namespace lookup_kinds;
    static const QList<Column> customer_by_code{col("코  드", "grcd", 7), col("거래처명", "name", 24), col("관/사", "kawn_sa")};
    static const QList<Column> customer_by_name{col("거래처명", "name", 24), col("코  드", "grcd", 7), col("관/사", "kawn_sa")};
    static const QList<Column> site{col("코드", "code", 6), col("현장명", "name")};
    static const QList<Column> product{col("코드", "remi_code", 7), col("제품명", "kind", 11), col("규격", "standard")};
    static const QList<Column> vehicle{col("코드", "scode", 6), col("차량번호", "code", 11), col("기사명", "name")};
    static const QList<KindSql> all{
        {customers, "거래코드조회",
         "select grcd, name, kawn_sa, vat, rank, julsa from customer where grcd = :t order by grcd",
         "select grcd, name, kawn_sa, vat, rank, julsa from customer where name like :p escape '!' order by name",
         "select grcd, name, kawn_sa, vat, rank, julsa from customer order by grcd",
         nullptr, customer_by_code, customer_by_name},
        {government_customers, "거래코드조회",
         "select grcd, name, kawn_sa, vat, julsa from customer where grcd = :t and kawn_sa = 'K' order by grcd",
         "select grcd, name, kawn_sa, vat, julsa from customer where name like :p escape '!' and kawn_sa = 'K' order by name",
         "select grcd, name, kawn_sa, vat, julsa from customer where kawn_sa = 'K' order by grcd",
         nullptr, customer_by_code, customer_by_name},
        {sites, "현장코드조회",
         "select * from r_hyunjang where grcd = :k and code = :t order by code desc",
         "select * from r_hyunjang where grcd = :k and name like :p escape '!' order by name",
         "select * from r_hyunjang where grcd = :k and code <> '000' order by code desc",
         nullptr, site, site},
        {sites_on_account, "현장코드조회",
         "select code, name, man_code, misu, man_name from r_hyunjang"
         " where grcd = :k and code = :t and misu in ('T', 'H') order by code desc",
         "select code, name, man_code, misu, man_name from r_hyunjang"
         " where grcd = :k and name like :p escape '!' and misu in ('T', 'H') order by name",
         "select code, name, man_code, misu, man_name from r_hyunjang"
         " where grcd = :k and misu in ('T', 'H') order by code desc",
         nullptr, site, site},
        {products, "제품규격조회",
         "select remi_code, standard, kind, kwan_danga, sa_danga from r_size"
         " where remi_code = :t and gubun in ('2', '0') order by remi_code",
         "select remi_code, standard, kind, kwan_danga, sa_danga from r_size"
         " where standard like :p escape '!' and gubun in ('2', '0') order by standard",
         "select remi_code, standard, kind, kwan_danga, sa_danga from r_size"
         " where gubun in ('2', '0') order by remi_code",
         nullptr, product, product},
        {products_by_second_code, "제품규격조회",
         "select remi_code1, standard, kind, kwan_danga, sa_danga from r_size"
         " where remi_code1 = :t and gubun = '2' order by remi_code",
         "select remi_code1, standard, kind, kwan_danga, sa_danga from r_size"
         " where standard like :p escape '!' and gubun = '2' order by standard",
         "select remi_code1, standard, kind, kwan_danga, sa_danga from r_size where gubun = '2' order by remi_code",
         "select remi_code1, standard, kind, kwan_danga, sa_danga from r_size where gubun = '2' order by standard",
         {col("코드", "remi_code1", 7), col("제품명", "kind", 11), col("규격", "standard")},
         {col("규격", "standard", 13), col("제품명", "kind", 11), col("코드", "remi_code1")}},
        {vehicles, "차량코드조회",
         "select code, name, scode from car_code where scode = :t order by code",
         "select code, name, scode from car_code where name like :p escape '!' order by code",
         "select code, name, scode from car_code order by code",
         "select code, name, scode from car_code order by name",
         vehicle, vehicle},
        {transport_companies, "운반회사조회",
         "select code, name from car_cust where code = :t order by code",
         "select code, name from car_cust where name = :t order by code",
         "select code, name from car_cust order by code",
         "select code, name from car_cust order by name",
         {col("코  드", "code", 7), col("회사명", "name")},
         {col("회사명", "name", 21), col("코  드", "code")}},
        {transport_fees, "운반비조회",
         "select code, dis_kum from carry where code = :t order by code",
         nullptr,
         "select code, dis_kum from carry order by code",
         nullptr,
         {col("코  드", "code", 7), col("운반비", "dis_kum")},
         {}},
        {sales_persons, "담당자 조회",
         "select code, man from youngup where code = :t order by code",
         "select code, man from youngup where man = :t order by man",
         "select code, man from youngup where code >= '001' and code <= '100' order by code",
         "select code, man from youngup order by man",
         {col("코  드", "code", 7), col("담당자명", "man")},
         {col("담당자명", "man", 16), col("코  드", "code")}},
    };
    return all;
}

const KindSql *kind_sql(int kind)
{
    for (const KindSql &k : kinds())
        if (k.kind == kind)
            return &k;
    return nullptr;
}

// Binds the values the statement names.
Params params_for(const QString &sql, const QString &text, const QString &key)
{
    Params p;
    if (sql.contains(QLatin1String(":t")))
        p << qMakePair(QStringLiteral(":t"), QVariant(text));
    if (sql.contains(QLatin1String(":p")))
        p << qMakePair(QStringLiteral(":p"), QVariant(like_pattern(text)));
    if (sql.contains(QLatin1String(":k")))
        p << qMakePair(QStringLiteral(":k"), QVariant(key));
    return p;
}

}

QString lookup_title(int kind)
{
    const KindSql *k = kind_sql(kind);
    return k ? QString::fromUtf8(k->title) : QString();
}

LookupOutcome find_codes(const Database &db, int kind, const QString &text, const QString &key)
{
    LookupOutcome out;
    const KindSql *k = kind_sql(kind);
    if (!k)
        return out;
    const bool by_name = is_name_search(text);
    const char *search = by_name ? k->by_name : k->by_code;
    if (!search)
        return out;
    out.ran = true;
    const QString sql = QString::fromLatin1(search);
    out.rows = fetch_records(db, sql, params_for(sql, text, key));
    out.found = out.rows.size() == 1;
    if (out.found)
        return out;
    if (const char *list = by_name ? k->name_list : k->code_list) {
        const QString list_sql = QString::fromLatin1(list);
        out.rows = fetch_records(db, list_sql, params_for(list_sql, text, key));
    }
    out.columns = by_name ? k->name_columns : k->code_columns;
    return out;
}
