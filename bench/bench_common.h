#pragma once
// What the benchmarks share: their arguments and how figures are printed.
#include "core/framework/database.h"

#include <QElapsedTimer>
#include <QList>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <functional>

struct BenchArgs {
    int runs;
    QString day;  // empty: the last day with orders
};

// --runs N, --day yyyy-mm-dd
inline BenchArgs parse_bench_args(const QStringList &args, int default_runs)
{
    BenchArgs a{default_runs, {}};
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs"))
            a.runs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--day"))
            a.day = args[i + 1];
    }
    return a;
}

// Median, fastest and slowest of the times in milliseconds.
inline void print_figures(QTextStream &out, const char *what, QList<double> ms)
{
    std::sort(ms.begin(), ms.end());
    out << QStringLiteral("%1: median %2 ms, min %3 ms, max %4 ms (%5 runs)\n")
               .arg(QString::fromLatin1(what), -44)
               .arg(ms[ms.size() / 2], 0, 'f', 3).arg(ms.first(), 0, 'f', 3).arg(ms.last(), 0, 'f', 3)
               .arg(ms.size());
}

// The times of `runs` calls of `step` (given the run number), in milliseconds.
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
            && !sql.startsWith(QLatin1String("with"), Qt::CaseInsensitive)
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
