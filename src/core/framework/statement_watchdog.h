#pragma once
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

class QSqlDatabase;

// A server that stops answering in the middle of a statement (a network
// that swallows packets, a proxy gone silent) would keep the statement, and
// the thread that runs it, waiting for ever: the client library has no time
// limit of its own.  The watchdog gives every statement one: when it runs
// out, the connection's socket is shut down, the statement fails as a lost
// connection, and the next one opens a fresh connection.
class StatementWatchdog {
public:
    static StatementWatchdog &instance();
    ~StatementWatchdog();

    // Watches one statement on `db` (PostgreSQL only; SQLite has its busy
    // timeout) for as long as it lives.
    class Watch {
    public:
        Watch(const QSqlDatabase &db, std::chrono::milliseconds limit);
        ~Watch();
        // True when the time ran out and the connection was cut.
        bool fired() const;
        Watch(const Watch &) = delete;
        Watch &operator=(const Watch &) = delete;

    private:
        unsigned long long token_ = 0;
    };

private:
    StatementWatchdog();
    unsigned long long arm(int socket, std::chrono::milliseconds limit);
    void disarm(unsigned long long token);
    bool fired(unsigned long long token);
    void run();

    struct Item {
        int socket;
        std::chrono::steady_clock::time_point deadline;
        bool fired = false;
    };
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<unsigned long long, Item> items_;
    unsigned long long next_ = 1;
    bool stopping_ = false;
    std::thread thread_;
};
