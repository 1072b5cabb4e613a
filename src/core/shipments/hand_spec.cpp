#include "core/shipments/hand_spec.h"

HandSpecParts split_hand_spec(const QString &v_rule)
{
    if (v_rule.size() != 9)
        return {};
    return {v_rule.mid(0, 2), v_rule.mid(3, 3), v_rule.mid(7, 2)};
}
