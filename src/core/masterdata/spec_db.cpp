#include "core/masterdata/spec_db.h"

#include <QSqlQuery>
#include "core/masterdata/master_db.h"

QList<QSqlRecord> list_specs(const Database &db)
{
    return fetch_records(db, QStringLiteral("select * from r_size order by remi_code"));
}

QList<QSqlRecord> specs_named_like(const Database &db, const QString &text)
{
    return fetch_records(db, QStringLiteral("select remi_code, standard, rul_ks from r_size"
                                            " where standard like :p escape '!' order by standard"),
                         {{":p", like_pattern(text)}});
}

QList<QSqlRecord> specs_ordered_by(const Database &db, const QString &field)
{
    return fetch_records(db, QStringLiteral("select * from r_size order by ") + order_column("r_size", field));
}

bool spec_exists(const Database &db, const QString &remi_code)
{
    return !db.scalar(QStringLiteral("select remi_code from r_size where remi_code = :c"),
                      {{":c", remi_code}}).isNull();
}

bool add_spec(const Database &db, const QString &remi_code, const QString &standard,
              const QString &rul_ks, const QString &ilja)
{
    return insert_new_row([&] { return spec_exists(db, remi_code); }, [&] {
        db.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks, ilja, gubun)"
                               " values (:n1, :n2, :n3, :n4, :n5)"),
                {{":n1", remi_code}, {":n2", standard}, {":n3", rul_ks}, {":n4", ilja},
                 {":n5", QStringLiteral("0")}});
    });
}

QString ks_mark_of_product(const Database &db, const QString &remi_code)
{
    return db.scalar(QStringLiteral("select rul_ks from r_size where remi_code = :c"), {{":c", remi_code}}).toString();
}

QString ks_mark_of_standard(const Database &db, const QString &standard)
{
    QSqlQuery q = db.query(QStringLiteral("select rul_ks from r_size where standard = :s order by remi_code"),
                           {{":s", standard}});
    return q.next() ? q.value(0).toString() : QString();
}
