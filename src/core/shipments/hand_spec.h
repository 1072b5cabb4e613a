#pragma once
#include <QString>

// The three specification parts of a hand ticket: only a name of exactly
// nine characters (25-240-15) is split, by position; any other name gives
// three empty parts.
struct HandSpecParts {
    QString max_aggregate;  // characters 1-2
    QString strength;       // characters 4-6
    QString slump;          // characters 8-9

    bool operator==(const HandSpecParts &) const = default;
};
HandSpecParts split_hand_spec(const QString &v_rule);
