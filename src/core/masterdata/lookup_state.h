#pragma once
#include <QSqlRecord>
#include <QString>

// The kinds of code lookup.
namespace lookup_kinds {
constexpr int customers = 1;
constexpr int government_customers = 11;
constexpr int sites = 2;
constexpr int sites_on_account = 12;
constexpr int products = 3;
constexpr int products_by_second_code = 7;
constexpr int vehicles = 4;
constexpr int transport_companies = 5;
constexpr int transport_fees = 6;
constexpr int sales_persons = 8;
}

// The program's one set of lookup variables.  They keep their values
// between lookups; a list closed without a pick changes none of them.
struct LookupState {
    QString lookup_code;  // in: the typed text; out: the code of the row
    QString lookup_name;
    QString lookup_attr;  // customer kawn_sa, site misu, product kind, vehicle scode
    QString lookup_key;   // in: the customer code of site lookups; out: customer vat, site man_code
    QString lookup_julsa;
    double lookup_kwan_price = 0;
    double lookup_sa_price = 0;
    int lookup_kind = 0;
    // Every column of the matched or picked row (order entry reads rank,
    // memo, ground_tel ... from it); empty while the last lookup's list has
    // not been picked from.
    QSqlRecord lookup_row;
};

// The text of `typed` is searched by name, not by code: it begins with
// anything but a digit or an upper-case letter A-Z, or has a hyphen third.
bool is_name_search(const QString &typed);

// Copies `row` into the variables as the lookup of `kind` defines; a
// column the row lacks gives an empty value.  A single match reads the
// prices as whole numbers (`whole_prices`), a pick keeps their decimals.
void copy_lookup_row(LookupState &state, int kind, const QSqlRecord &row, bool whole_prices);
