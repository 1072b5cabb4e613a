#pragma once
#include <QString>

class Database;

// Every transaction that reads an order's figures or its loads, and then
// writes, locks the order's row first: another PC doing the same waits
// here until this transaction ends, and then reads what it wrote.  Locks
// are taken in one order, the order before the vehicle, so that two PCs
// never wait on each other in a circle.
namespace order_lock {

// Locks the order's row until the transaction ends.  False when the order
// is not there (deleted on another PC): nothing is locked then.
bool lock(const Database &db, const QString &date, const QString &seq);

}
