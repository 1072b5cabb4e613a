#pragma once
#include <QString>

class Database;

// Statements of the hand ticket.
namespace hand_ticket_db {

// True when the specification named `standard` is KS-certified (the
// r_size row of that name, the lowest product code when several share it).
bool is_ks_standard(const Database &db, const QString &standard);

}
