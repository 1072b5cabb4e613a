#include "core/plantlink/spec_split.h"
#include "core/data/ticket_data.h"

SpecParts split_spec(const QString &name)
{
    SpecParts parts;
    const qsizetype dash = name.indexOf(QLatin1Char('-'));
    if (dash < 0) {
        parts.spec_other = name;
        return parts;
    }
    // q: the place of the next "-" among the ten characters after the
    // first one, counted from 1; 0 when there is none.
    const qsizetype q = name.mid(dash + 1, 10).indexOf(QLatin1Char('-')) + 1;
    parts.max_aggregate = name.left(2);
    if (q > 1)
        parts.strength = name.mid(dash + 1, q - 1);
    parts.slump = name.mid(dash + 1 + q, 5);
    return parts;
}

void fill_spec_parts(TicketData &ticket, const QString &name)
{
    const SpecParts parts = split_spec(name);
    ticket.max_aggregate = parts.max_aggregate;
    ticket.strength = parts.strength;
    ticket.slump = parts.slump;
    ticket.spec_other = parts.spec_other;
}
