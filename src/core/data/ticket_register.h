#pragma once
#include "core/data/change_log.h"
#include "core/data/ticket_data.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>

class Database;

// The register of every delivery ticket printed or written to PDF, by any
// path: when, who, where, which load (or the hand ticket's fields), first
// print or reprint, and the printer or file.  Only printed tickets are
// registered, after they printed; nothing changes or deletes an entry.
namespace ticket_register {

// The print paths in the operator's words ("재발행").
QString path_words(const QString &path);
const QStringList &paths();

// True when the ticket's load was registered before (the hand ticket
// belongs to no load: never).
bool printed_before(const Database &db, const TicketData &ticket);

struct Registered {
    bool reprint = false;
    QString entry_id;
    QString printed_at;  // "yyyy-mm-dd hh:mm:ss"
};

// What a registered ticket's data file holds besides the ticket.
struct PrintFacts {
    QString printed_at;
    ChangeAuthor author;
    bool reprint = false;
    QString output;
};
using TicketJson = std::function<QJsonObject(const TicketData &, const PrintFacts &)>;

// Registers a printed ticket in one transaction: whether it is a reprint is
// decided there, then `make_json` gives the data stored with it.  Throws
// DbError.
Registered record(const Database &db, const ChangeAuthor &author, const TicketData &ticket,
                  const QString &output, const QDateTime &when, const TicketJson &make_json,
                  QJsonObject *json = nullptr);

}
