#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class QRandomGenerator;

// The loads of a yusa order made up by the auto ticket book: the quantity
// split into truck loads, departure times spaced by random gaps from the
// first-load time, the trucks in service taken in turn.

namespace load_rules {
constexpr double largest_load = 6;   // m3
constexpr int smallest_gap = 2;      // minutes
constexpr int longest_interval = 58; // so that every gap stays under an hour
constexpr int last_load_no = 999;    // load numbers have three digits
}

// A yusa order's values as the generator reads them (the fields' texts for
// the time and the interval).
struct LoadOrder {
    double quantity = 0;  // m3
    QString first_time;   // "hh:mm"
    QString interval;     // whole minutes, leading blanks allowed
};

struct GeneratedLoad {
    QString seq;           // "001", "002", ...
    QString time;          // "hh:mm"
    QString vehicle_code;  // empty with no truck in service
    double m3 = 0;
    double cumulative = 0;

    bool operator==(const GeneratedLoad &) const = default;
};

// The interval in minutes, or -1 when the text is not a whole number.
int interval_minutes(const QString &text);

// How many loads the quantity needs (loads of at most 6 m3, compared to
// the hundredth); last_load_no + 1 for any number beyond it.
int loads_needed(double quantity);

// Why no loads can be made of `order` (a message for the operator), or ""
// when they can: a quantity of no hundredth, an interval that is not a
// whole number from 0 to 58, a first-load time that is not a real time, or
// more loads than three-digit numbers allow.
QString load_order_problem(const LoadOrder &order);

struct LoadPlan {
    QString problem;  // not empty: nothing was planned
    QList<GeneratedLoad> loads;
};

// The loads of `order`: L = 6 while 6 or more remain, then the rest, until
// the cumulative quantity equals the order to the hundredth; each gap is
// 2 + R minutes with R drawn uniformly from 0 ... interval - 1 (0 for an
// interval of 0), times going on past midnight; `trucks` (vehicle codes in
// code order) in turn.
LoadPlan generate_loads(const LoadOrder &order, const QStringList &trucks, QRandomGenerator &random);

// A seed from the clock, for a generator made anew at each generation.
quint32 clock_seed();
