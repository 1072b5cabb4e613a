#pragma once
// What the benchmarks share: their arguments and how figures are printed.
#include <QList>
#include <QStringList>
#include <QTextStream>
#include <algorithm>

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
