#pragma once
// Timing a step and printing the plans of the statements it runs.
#include "framework/database.h"

#include <QElapsedTimer>
#include <QList>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QTextStream>
#include <algorithm>
#include <functional>

inline QList<double> measure(int runs, const std::function<void(int)> &step)
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        step(i);
        ms << t.nsecsElapsed() / 1e6;
    }
    return ms;
}

// PostgreSQL cannot prepare an EXPLAIN: the values go in as literals,
// quoted by the driver.  Only for looking at plans.
inline QString with_literals(const Database &db, QString sql, Params params)
{
    std::sort(params.begin(), params.end(), [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    for (const auto &[name, value] : params) {
        QSqlField field(QString(), value.metaType());
        field.setValue(value);
        sql.replace(name, db.connection().driver()->formatValue(field));
    }
    return sql;
}

// The plan of every distinct statement the action runs.
inline void print_plans(QTextStream &out, const Database &db, const std::function<void()> &action)
{
    QList<QPair<QString, Params>> seen;
    Database::set_tracer([&](const QString &sql, const Params &params) {
        for (const auto &s : seen)
            if (s.first == sql)
                return;
        seen << qMakePair(sql, params);
    });
    action();
    Database::set_tracer({});
    for (const auto &[sql, params] : seen) {
        if (!sql.startsWith(QLatin1String("select"), Qt::CaseInsensitive)
            && !sql.startsWith(QLatin1String("update"), Qt::CaseInsensitive))
            continue;
        out << "\n" << sql.simplified() << "\n";
        Transaction tx(db);  // an explained update must not change anything
        QSqlQuery q = db.is_postgres() ? db.query(QStringLiteral("explain ") + with_literals(db, sql, params))
                                       : db.query(QStringLiteral("explain query plan ") + sql, params);
        while (q.next())
            out << "    " << q.value(db.is_postgres() ? 0 : 3).toString() << "\n";
    }
}
