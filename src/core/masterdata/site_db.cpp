#include "core/masterdata/site_db.h"
#include "core/masterdata/customer_db.h"
#include "core/masterdata/master_db.h"
#include "core/masterdata/text_pad.h"

namespace {
const QString site_columns = QStringLiteral("select code, name, man_code, man_name from r_hyunjang where grcd = :g");
}

QList<QSqlRecord> list_sites(const Database &db, const QString &grcd)
{
    return fetch_records(db, site_columns + QStringLiteral(" order by code"), {{":g", grcd}});
}

QList<QSqlRecord> sites_named_like(const Database &db, const QString &grcd, const QString &text)
{
    return fetch_records(db, site_columns + QStringLiteral(" and name like :p escape '!' order by name"),
                         {{":g", grcd}, {":p", like_pattern(text)}});
}

QList<QSqlRecord> sites_ordered_by(const Database &db, const QString &grcd, const QString &field)
{
    return fetch_records(db, site_columns + QStringLiteral(" order by ") + order_column("r_hyunjang", field),
                         {{":g", grcd}});
}

QString next_site_code(const Database &db, const QString &grcd)
{
    const QString last = db.scalar(QStringLiteral("select max(code) from r_hyunjang where grcd = :g"),
                                   {{":g", grcd}}).toString();
    return pad_zero(QString::number(last.toInt() + 1), 3);
}

bool site_exists(const Database &db, const QString &grcd, const QString &code)
{
    return !db.scalar(QStringLiteral("select code from r_hyunjang where grcd = :g and code = :c"),
                      {{":g", grcd}, {":c", code}}).isNull();
}

std::optional<QString> add_site(const Database &db, const NewSite &s, bool renumber)
{
    std::optional<QString> stored;
    in_numbering_transaction(db, [&] {
        stored.reset();
        QString code = s.code;
        if (site_exists(db, s.grcd, code)) {
            if (!renumber)
                return;
            code = next_site_code(db, s.grcd);
        }
        db.exec(QStringLiteral("insert into r_hyunjang (saup, grcd, code, name, man_code, man_name, misu,"
                               " grcd_name, grcode, kawn_sa)"
                               " values (:n1, :n2, :n3, :n4, :n5, :n6, :n7, :n8, :n9, :n10)"),
                {{":n1", QStringLiteral("AA")}, {":n2", s.grcd}, {":n3", code}, {":n4", s.name},
                 {":n5", s.man_code}, {":n6", s.man_name}, {":n7", QStringLiteral("H")},
                 {":n8", s.customer_name}, {":n9", s.grcd + code},
                 {":n10", customer_kawn_sa(db, s.grcd)}});
        stored = code;
    });
    return stored;
}
