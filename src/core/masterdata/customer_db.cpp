#include "core/masterdata/customer_db.h"
#include "core/masterdata/master_db.h"
#include "core/masterdata/text_pad.h"

QList<QSqlRecord> list_customers(const Database &db)
{
    return fetch_records(db, QStringLiteral("select grcd, name, kawn_sa from customer order by grcd"));
}

QList<QSqlRecord> customers_named_like(const Database &db, const QString &text)
{
    return fetch_records(db, QStringLiteral("select grcd, name, kawn_sa from customer"
                                            " where name like :p escape '!' order by name"),
                         {{":p", like_pattern(text)}});
}

QList<QSqlRecord> customers_ordered_by(const Database &db, const QString &field)
{
    return fetch_records(db, QStringLiteral("select * from customer order by ")
                                 + order_column("customer", field));
}

QString next_customer_seq(const Database &db, const QString &letter)
{
    const QVariant last = db.scalar(QStringLiteral("select max(cust_seq) from customer where cust_set = :s"),
                                    {{":s", letter}});
    return pad_zero(QString::number(qint64(number_or_zero(last)) + 1), 3);
}

bool customer_exists(const Database &db, const QString &grcd)
{
    return !db.scalar(QStringLiteral("select grcd from customer where grcd = :g"), {{":g", grcd}}).isNull();
}

QString customer_kawn_sa(const Database &db, const QString &grcd)
{
    return db.scalar(QStringLiteral("select kawn_sa from customer where grcd = :g"), {{":g", grcd}}).toString();
}

std::optional<QString> add_customer(const Database &db, const QString &letter, const QString &digits,
                                    const QString &name, bool renumber)
{
    std::optional<QString> stored;
    in_numbering_transaction(db, [&] {
        stored.reset();
        QString seq = digits;
        if (customer_exists(db, letter + seq)) {
            if (!renumber)
                return;
            seq = next_customer_seq(db, letter);
        }
        db.exec(QStringLiteral("insert into customer (saup, cust_set, cust_seq, name, grcd, vat, kawn_sa, misu)"
                               " values (:n1, :n2, :n3, :n4, :n5, :n6, :n7, :n8)"),
                {{":n1", QStringLiteral("AA")}, {":n2", letter}, {":n3", seq.toInt()},
                 {":n4", name}, {":n5", letter + seq}, {":n6", QStringLiteral("V")},
                 {":n7", QStringLiteral("S")}, {":n8", QStringLiteral("H")}});
        stored = seq;
    });
    return stored;
}
