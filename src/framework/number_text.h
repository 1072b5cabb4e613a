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
