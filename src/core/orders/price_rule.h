#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

// The unit price proposed for an order, in exact decimal: amounts are
// whole thousandths of a won (milli-won), rates whole hundredths of a
// percent.  No binary floating point touches a price.
namespace price_rule {

// A decimal text ("70100", "93.3", "0.125") as a whole number of 10^-decimals
// units; further digits round half to even.  nullopt for anything that is
// not a plain non-negative decimal.
std::optional<qint64> parse_decimal(const QString &text, int decimals);
// The plain decimal text of `scaled` / 10^decimals, no trailing zeros.
QString decimal_text(qint64 scaled, int decimals);

// p = rate × base / 100, held exactly as a fraction (rate in hundredths of
// a percent, base in milli-won).
struct Computed {
    qint64 rate_hundredths = 0;
    qint64 base_milli = 0;
};
// p cut by the customer's rule `julsa` ("0" half to even to whole won,
// "1" / "10" / "100" down to a multiple of 10 / 100 / 1000 won), in
// milli-won; nullopt for any other rule.
std::optional<qint64> cut(const Computed &p, const QString &julsa);
// p rounded to whole won, a half to the even neighbour, in milli-won.
qint64 round_half_even(const Computed &p);

struct Inputs {
    QString earlier_price;  // the latest earlier order's price ("" none)
    QString class_text;     // "관수1", "관수2", "민수1", "민수2"
    QString vat_text;       // "별도", "포함", "무시"
    QString julsa;          // "0", "1", "10", "100"
    QString contract_rate;  // percent as the field holds it
    QString kwan_price;     // government base price
    QString sa_price;       // private base price
};

// The proposed price as plain decimal text, or nullopt when the price is
// to be left as it is (a VAT class or cut rule outside the table).
std::optional<QString> propose(const Inputs &in);

}
