#include "core/masterdata/lookup_state.h"

#include <QVariant>
#include <cmath>

bool is_name_search(const QString &typed)
{
    if (typed.isEmpty())
        return false;
    const QChar first = typed.at(0);
    const bool code_start = (first >= QLatin1Char('0') && first <= QLatin1Char('9'))
                            || (first >= QLatin1Char('A') && first <= QLatin1Char('Z'));
    return !code_start || (typed.size() > 2 && typed.at(2) == QLatin1Char('-'));
}

void copy_lookup_row(LookupState &s, int kind, const QSqlRecord &row, bool whole_prices)
{
    using namespace lookup_kinds;
    const auto text = [&row](const char *field) { return row.value(QLatin1String(field)).toString(); };
    const auto price = [&](const char *field) {
        const double v = row.value(QLatin1String(field)).toDouble();
        return whole_prices ? std::nearbyint(v) : v;  // half to even
    };
    switch (kind) {
    case customers:
    case government_customers:
        s.lookup_code = text("grcd");
        s.lookup_name = text("name");
        s.lookup_attr = text("kawn_sa");
        s.lookup_key = text("vat");
        s.lookup_julsa = text("julsa");
        break;
    case sites:
    case sites_on_account:
        s.lookup_code = text("code");
        s.lookup_name = text("name");
        s.lookup_attr = text("misu");
        s.lookup_key = text("man_code");
        break;
    case products:
    case products_by_second_code:
        s.lookup_code = text(kind == products ? "remi_code" : "remi_code1");
        s.lookup_name = text("standard");
        s.lookup_attr = text("kind");
        s.lookup_kwan_price = price("kwan_danga");
        s.lookup_sa_price = price("sa_danga");
        break;
    case vehicles:
        s.lookup_code = text("code");
        s.lookup_name = text("name");
        s.lookup_attr = text("scode");
        break;
    case transport_companies:
        s.lookup_code = text("code");
        s.lookup_name = text("name");
        break;
    case transport_fees:
        s.lookup_code = text("code");
        s.lookup_name = text("dis_kum");
        break;
    case sales_persons:
        s.lookup_code = text("code");
        s.lookup_name = text("man");
        break;
    case 22:
        s.lookup_code = row.value(0).toString();
        break;
    default:
        s.lookup_code = row.value(0).toString();
        s.lookup_name = row.value(1).toString();
        break;
    }
    s.lookup_row = row;
}
