#pragma once
#include <QString>

// Fixed-width texts of codes and printed fields.

// `text` right-aligned in `width` characters with leading zeros, cut from
// the left when longer ("7", 2 gives "07"; "100", 2 gives "00").  Not
// checked to be a number.  At most 13 zeros are put in front.
QString pad_zero(const QString &text, int width);

// `text` left-aligned in `width` characters, cut on the right when longer.
// At most 29 blanks are put after it.
QString pad_space(const QString &text, int width);
