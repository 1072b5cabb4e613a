#include "silent_proxy.h"

#include <QDir>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>
#include <vector>

SilentProxy::SilentProxy(const QString &socket_folder, int port)
    : target_(QDir(socket_folder).filePath(QStringLiteral(".s.PGSQL.%1").arg(port)))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    ::listen(listener_, 8);
    socklen_t len = sizeof addr;
    ::getsockname(listener_, reinterpret_cast<sockaddr *>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { run(); });
}

SilentProxy::~SilentProxy()
{
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

void SilentProxy::run()
{
    struct Pair {
        int client, server;
    };
    std::vector<Pair> pairs;
    char buffer[65536];
    while (!stopping_) {
        std::vector<pollfd> fds{{listener_, POLLIN, 0}};
        for (const Pair &p : pairs) {
            fds.push_back({p.client, POLLIN, 0});
            // While silent, what the server says stays where it is.
            fds.push_back({p.server, static_cast<short>(silent_ ? 0 : POLLIN), 0});
        }
        if (::poll(fds.data(), fds.size(), 50) <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            const int client = ::accept(listener_, nullptr, nullptr);
            const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un to{};
            to.sun_family = AF_UNIX;
            std::strncpy(to.sun_path, target_.toLocal8Bit().constData(), sizeof to.sun_path - 1);
            if (client >= 0 && ::connect(server, reinterpret_cast<sockaddr *>(&to), sizeof to) == 0) {
                pairs.push_back({client, server});
            } else {
                ::close(client);
                ::close(server);
            }
        }
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const pollfd &c = fds[1 + 2 * i];
            const pollfd &s = fds[2 + 2 * i];
            bool closed = false;
            if (c.revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t n = ::read(pairs[i].client, buffer, sizeof buffer);
                if (n <= 0)
                    closed = true;
                else if (!silent_)
                    (void)::write(pairs[i].server, buffer, n);  // swallowed while silent
            }
            if (!closed && (s.revents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t n = ::read(pairs[i].server, buffer, sizeof buffer);
                if (n <= 0)
                    closed = true;
                else
                    (void)::write(pairs[i].client, buffer, n);
            }
            if (closed) {
                ::close(pairs[i].client);
                ::close(pairs[i].server);
                pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(i));
                break;  // the poll set no longer matches
            }
        }
    }
    for (const Pair &p : pairs) {
        ::close(p.client);
        ::close(p.server);
    }
}
