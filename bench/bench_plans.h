#pragma once
// Timing runs and printing statement plans, for the benchmarks.
#include "framework/database.h"

#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QTextStream>
#include <algorithm>
#include <functional>

// Milliseconds of each of `runs` calls of `step(run)`.
inline QList<double> measure_runs(int runs, const std::function<void(int)> &step)
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
inline QString with_literal_values(const Database &db, QString sql, Params params)
{
    std::sort(params.begin(), params.end(), [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    for (const auto &[name, value] : params) {
        QSqlField field(QString(), value.metaType());
        field.setValue(value);
        sql.replace(name, db.connection().driver()->formatValue(field));
    }
    return sql;
}

// The plan of every distinct select the action runs.
inline void print_select_plans(QTextStream &out, const Database &db, const std::function<void()> &action)
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
        if (!sql.startsWith(QLatin1String("select"), Qt::CaseInsensitive))
            continue;
        out << "\n" << sql.simplified() << "\n";
        QSqlQuery q = db.is_postgres() ? db.query(QStringLiteral("explain ") + with_literal_values(db, sql, params))
                                       : db.query(QStringLiteral("explain query plan ") + sql, params);
        while (q.next())
            out << "    " << q.value(db.is_postgres() ? 0 : 3).toString() << "\n";
    }
}
