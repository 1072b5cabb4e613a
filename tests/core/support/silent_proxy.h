#pragma once
#include <QString>
#include <atomic>
#include <thread>

// A TCP proxy on the loopback in front of the test's PostgreSQL server (its
// socket folder and port), which can go silent: it keeps every connection
// open and takes what the program sends, but forwards nothing either way,
// as a network that swallows packets does.
class SilentProxy {
public:
    SilentProxy(const QString &socket_folder, int port);
    ~SilentProxy();

    int port() const { return port_; }
    void set_silent(bool silent) { silent_ = silent; }

private:
    void run();

    QString target_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> silent_ = false;
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};
