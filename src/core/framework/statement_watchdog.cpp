#include "core/framework/statement_watchdog.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <libpq-fe.h>

#ifdef Q_OS_WIN
#include <winsock2.h>
#define SHUT_RDWR SD_BOTH
#else
#include <sys/socket.h>
#endif

namespace {
int socket_of(const QSqlDatabase &db)
{
    if (db.driverName() != QLatin1String("QPSQL") || !db.driver())
        return -1;
    const QVariant handle = db.driver()->handle();
    // The driver names the type after libpq's struct.
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return -1;
    PGconn *conn = *static_cast<PGconn *const *>(handle.data());
    return conn ? PQsocket(conn) : -1;
}
}

StatementWatchdog &StatementWatchdog::instance()
{
    static StatementWatchdog watchdog;
    return watchdog;
}

StatementWatchdog::StatementWatchdog() : thread_([this] { run(); }) {}

StatementWatchdog::~StatementWatchdog()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

unsigned long long StatementWatchdog::arm(int socket, std::chrono::milliseconds limit)
{
    unsigned long long token;
    {
        const std::lock_guard lock(mutex_);
        token = next_++;
        items_.emplace(token, Item{socket, std::chrono::steady_clock::now() + limit});
    }
    changed_.notify_all();
    return token;
}

void StatementWatchdog::disarm(unsigned long long token)
{
    const std::lock_guard lock(mutex_);
    items_.erase(token);
}

bool StatementWatchdog::fired(unsigned long long token)
{
    const std::lock_guard lock(mutex_);
    const auto it = items_.find(token);
    return it != items_.end() && it->second.fired;
}

void StatementWatchdog::run()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        auto next = std::chrono::steady_clock::time_point::max();
        const auto now = std::chrono::steady_clock::now();
        for (auto &[token, item] : items_) {
            if (item.fired)
                continue;
            if (item.deadline <= now) {
                item.fired = true;
                ::shutdown(item.socket, SHUT_RDWR);
            } else if (item.deadline < next) {
                next = item.deadline;
            }
        }
        if (next == std::chrono::steady_clock::time_point::max())
            changed_.wait(lock);
        else
            changed_.wait_until(lock, next);
    }
}

StatementWatchdog::Watch::Watch(const QSqlDatabase &db, std::chrono::milliseconds limit)
{
    const int socket = socket_of(db);
    if (socket >= 0)
        token_ = instance().arm(socket, limit);
}

StatementWatchdog::Watch::~Watch()
{
    if (token_)
        instance().disarm(token_);
}

bool StatementWatchdog::Watch::fired() const
{
    return token_ && instance().fired(token_);
}
