#pragma once
#include <QString>

struct TicketData;

// A specification name such as "25-210-12" (maximum aggregate size in mm,
// strength, slump) split into the parts the delivery ticket prints.
struct SpecParts {
    QString max_aggregate;
    QString strength;
    QString slump;
    QString spec_other;  // the whole name when it holds no "-"

    bool operator==(const SpecParts &) const = default;
};

// With a "-": the first two characters, then what lies between the first
// "-" and the next one found within the ten characters after it, then up
// to five characters after that.  "25-210" gives 25, nothing and 210.
// Without a "-" the name goes whole into spec_other.
SpecParts split_spec(const QString &name);

// Sets the four specification fields of a ticket from the name.
void fill_spec_parts(TicketData &ticket, const QString &name);
