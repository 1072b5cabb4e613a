#pragma once
#include <QString>

// Numbers as the program writes them for people.

// The grids and the console's totals: no thousands separators, no trailing
// zeros (12.5, 6, 0).
QString general_number(double value);

// "%.2n" of tickets and status totals: two decimals, thousands separators
// (6.00, 1,234.50).
QString number_2n(double value);

// "%.0n": a whole number with thousands separators (1,234).
QString number_0n(double value);

// A number in a display format of the grids, fields and reports:
//  - "" : the general format above;
//  - "%.Nn": N decimals with thousands separators;
//  - a picture of '#', '0', ',' and '.': a ',' anywhere before the point
//    groups thousands, each '0' after the point is a decimal always shown,
//    each '#' after it one shown only when not zero ("#,##0.00" 1,234.50,
//    "#,##0.##" 1,234.5, "0.##" 1234.5, "#,##0" 1,235).
// Halves round away from zero, as the plant's reports always did.
QString format_number(double value, const QString &format);
