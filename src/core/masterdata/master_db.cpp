#include "core/masterdata/master_db.h"
#include "core/data/schema.h"
#include "core/framework/guarded.h"

#include <QSqlQuery>

QList<QSqlRecord> fetch_records(const Database &db, const QString &sql, const Params &params)
{
    QSqlQuery q = db.query(sql, params);
    QList<QSqlRecord> rows;
    while (q.next())
        rows << q.record();
    return rows;
}

namespace {
QString like_escaped(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('!');
        escaped += c;
    }
    return escaped;
}
}

QString like_pattern(const QString &text)
{
    return QLatin1Char('%') + like_escaped(text) + QLatin1Char('%');
}

QString like_prefix_pattern(const QString &text)
{
    return like_escaped(text) + QLatin1Char('%');
}

QString order_column(const char *table, const QString &field)
{
    const QString wanted = field.toLower();
    for (const schema::Table &t : schema::tables()) {
        if (qstrcmp(t.name, table) != 0)
            continue;
        for (const schema::Column &c : t.columns)
            if (wanted == QLatin1String(c.name))
                return wanted;
    }
    throw ActionError(QStringLiteral("정렬할 수 없는 항목입니다: %1").arg(field));
}

bool insert_new_row(const std::function<bool()> &exists, const std::function<void()> &insert)
{
    if (exists())
        return false;
    try {
        insert();
    } catch (const DbError &) {
        if (exists())
            return false;
        throw;
    }
    return true;
}

void in_numbering_transaction(const Database &db, const std::function<void()> &attempt)
{
    constexpr int attempts = 5;
    for (int n = 1;; ++n) {
        try {
            Transaction tx(db);
            attempt();
            tx.commit();
            return;
        } catch (const DbError &e) {
            // The transaction is rolled back by now; anything but a lost
            // race for the number is the caller's to show.
            if (!e.duplicate_key() || n == attempts)
                throw;
        }
    }
}
