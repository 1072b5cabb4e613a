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

// What the operator is told when the code shown was taken by another PC
// before the save: "순번 07은 다른 곳에서 먼저 사용하여 08로 저장했습니다."
// (`label` "순번", shown "07", stored "08").  The particles follow how the
// last digit is read.
QString code_taken_message(const QString &label, const QString &shown, const QString &stored);
