#pragma once
#include <QList>
#include <QString>
#include <optional>

// Contracts of government customers: the rules that turn contract periods
// and shipped sums into the figures of the tab "관수", without database or
// widgets.

// Only customers of this class text buy under registered contracts ("관수2"
// does not).
bool is_contract_class(const QString &class_text);

// The warning on Enter in the quantity field when the order's value is
// above the unshipped contract amount.
extern const QString unshipped_exceeded_message;

// quantity × unit price greater than the unshipped amount.
bool exceeds_unshipped(double quantity, double unit_price, double unshipped);

// One delivery period of a product as stored, with what was shipped in it.
struct PeriodInput {
    double amount = 0;  // contract quantity
    double cost = 0;    // unit price
    double chul = 0;    // shipped quantity in the period
};

// What the period row shows: its amount and, where the rule gives one, the
// unshipped quantity.
struct PeriodFigures {
    double hap = 0;
    std::optional<double> michul;
};

// The periods in order of their start: the first fixes the price in force;
// a later one at the same price adds its value and carries nothing; a later
// one at a new price is worth the price difference on the remainder carried
// from the row before, and its unshipped quantity is its own amount plus
// that remainder less what it shipped.
QList<PeriodFigures> period_figures(const QList<PeriodInput> &periods);

// The product row: contract quantity A and shipped S and shipped amount K
// summed over the periods, priced at the last period's cost.
struct ProductFigures {
    double amount = 0;   // A
    double chul = 0;     // S
    double chulkum = 0;  // K
    double cost = 0;     // the last period's
    double michul = 0;   // A - S
    double hap = 0;      // cost × (A - S) + K
};
ProductFigures product_figures(const QList<PeriodInput> &periods, double shipped_amount, double last_cost);

// 계약금액, 출하금액, 미출하금액 (HY33, HY34, HY35).
struct ContractAmounts {
    double contract = 0;
    double shipped = 0;
    double unshipped = 0;
};

// A row of the product contracts or of a product's periods; empty numbers
// are shown empty and count 0 in the sums.
struct ContractRow {
    QString remi_code;
    QString name;
    QString standard;
    QString kind;
    QString order_num;
    QString demand1;
    QString demand2;
    QString delivery;
    QString memo;
    std::optional<double> amount;
    std::optional<double> cost;
    std::optional<double> hap;
    std::optional<double> chul;
    std::optional<double> chulkum;
    std::optional<double> michul;
};

// HY33 = the sum of the rows' amounts, HY34 = the sum of what they shipped,
// HY35 = the difference: products shipped without a contract lower it.
ContractAmounts contract_amounts(const QList<ContractRow> &rows);
