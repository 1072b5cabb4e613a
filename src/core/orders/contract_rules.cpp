#include "core/orders/contract_rules.h"

const QString unshipped_exceeded_message = QStringLiteral("미출하 금액을 넘었습니다. \r 다시 확인 하시오 ");

bool is_contract_class(const QString &class_text)
{
    return class_text == QStringLiteral("관수1");
}

bool exceeds_unshipped(double quantity, double unit_price, double unshipped)
{
    return quantity * unit_price > unshipped;
}

QList<PeriodFigures> period_figures(const QList<PeriodInput> &periods)
{
    QList<PeriodFigures> out;
    double price = 0;
    double carried = 0;
    for (int i = 0; i < periods.size(); ++i) {
        const PeriodInput &p = periods[i];
        PeriodFigures f;
        if (i == 0) {
            price = p.cost;
            f.hap = p.cost * p.amount;
            f.michul = p.amount - p.chul;
        } else if (p.cost == price) {
            f.hap = p.cost * p.amount;
        } else {
            f.hap = (p.cost - price) * carried;
            price = p.cost;
            f.michul = p.amount + carried - p.chul;
        }
        carried = f.michul.value_or(0);
        out << f;
    }
    return out;
}

ProductFigures product_figures(const QList<PeriodInput> &periods, double shipped_amount, double last_cost)
{
    ProductFigures f;
    for (const PeriodInput &p : periods) {
        f.amount += p.amount;
        f.chul += p.chul;
    }
    f.chulkum = shipped_amount;
    f.cost = last_cost;
    f.michul = f.amount - f.chul;
    f.hap = f.cost * f.michul + f.chulkum;
    return f;
}

ContractAmounts contract_amounts(const QList<ContractRow> &rows)
{
    ContractAmounts a;
    for (const ContractRow &r : rows) {
        a.contract += r.hap.value_or(0);
        a.shipped += r.chulkum.value_or(0);
    }
    a.unshipped = a.contract - a.shipped;
    return a;
}
