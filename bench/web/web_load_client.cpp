// A load client for the request-rate comparison that wrk cannot make: each request on a connection of its
// own, the way many browsers, proxies and scripts ask. `clients` connections run at once on a few threads;
// each connects, sends one GET with "Connection: close", reads the reply until the server closes, checks it
// (status 200, the body as long as its Content-Length) and starts over. Prints the rate, the failures and the
// latency of whole requests (from the connect to the server's close).
//
// Usage: web_load_client <port> <path> <clients> <seconds>   (the server on 127.0.0.1)

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Steady = std::chrono::steady_clock;

constexpr int kThreads = 4;
constexpr auto kRequestTimeout = std::chrono::seconds(5);

struct Target {
    sockaddr_in address{};
    std::string request;
};

// One client connection; `fd` is -1 between requests.
struct Client {
    int fd = -1;
    Steady::time_point started;
    std::string reply;
};

struct Results {
    long completed = 0;
    long failed = 0;
    std::vector<double> latenciesMs;
};

// The reply is a whole 200: its head ends, and the body after it is as long as its Content-Length says.
bool IsWholeOk(const std::string& reply) {
    const size_t headEnd = reply.find("\r\n\r\n");
    if (reply.rfind("HTTP/1.1 200", 0) != 0 || headEnd == std::string::npos) return false;
    const size_t length = reply.find("Content-Length: ");
    if (length == std::string::npos || length > headEnd) return false;
    return reply.size() - (headEnd + 4) == std::strtoul(reply.c_str() + length + 16, nullptr, 10);
}

class Worker {
public:
    Worker(const Target& target, int clients) : target_(target), clients_(size_t(clients)) {
        epoll_ = epoll_create1(EPOLL_CLOEXEC);
    }
    ~Worker() { close(epoll_); }

    Results Run(Steady::time_point end) {
        for (Client& client : clients_) Open(client);
        epoll_event events[256];
        while (Steady::now() < end) {
            const int n = epoll_wait(epoll_, events, 256, 100);
            for (int i = 0; i < n; ++i) {
                Client& client = clients_[events[i].data.u64];
                if (events[i].events & EPOLLOUT) {
                    Send(client);
                } else {
                    Receive(client);
                }
            }
            ExpireStuck();
            for (Client& client : clients_)
                if (client.fd < 0) Open(client);
        }
        for (Client& client : clients_) Drop(client);
        return std::move(results_);
    }

private:
    size_t IndexOf(const Client& client) const { return size_t(&client - clients_.data()); }

    void Open(Client& client) {
        client.reply.clear();
        client.started = Steady::now();
        client.fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (client.fd < 0) {
            ++results_.failed;  // tried again on the next turn of the loop
            return;
        }
        const int on = 1;
        setsockopt(client.fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        const int result =
            connect(client.fd, reinterpret_cast<const sockaddr*>(&target_.address), sizeof target_.address);
        epoll_event event{};
        event.events = EPOLLOUT;
        event.data.u64 = IndexOf(client);
        if ((result != 0 && errno != EINPROGRESS) ||
            epoll_ctl(epoll_, EPOLL_CTL_ADD, client.fd, &event) != 0) {
            ++results_.failed;
            Drop(client);
        }
    }

    void Send(Client& client) {
        int error = 0;
        socklen_t size = sizeof error;
        getsockopt(client.fd, SOL_SOCKET, SO_ERROR, &error, &size);
        // The request is far smaller than any send buffer: one send takes it whole or the connection failed.
        if (error != 0 || send(client.fd, target_.request.data(), target_.request.size(), MSG_NOSIGNAL) !=
                              ssize_t(target_.request.size()))
            return Fail(client);
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = IndexOf(client);
        epoll_ctl(epoll_, EPOLL_CTL_MOD, client.fd, &event);
    }

    void Receive(Client& client) {
        char buffer[65536];
        for (;;) {
            const ssize_t n = recv(client.fd, buffer, sizeof buffer, 0);
            if (n > 0) {
                client.reply.append(buffer, size_t(n));
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            if (n < 0 && errno == EINTR) continue;
            break;
        }
        if (!IsWholeOk(client.reply)) return Fail(client);
        results_.latenciesMs.push_back(
            std::chrono::duration<double, std::milli>(Steady::now() - client.started).count());
        ++results_.completed;
        Drop(client);
        Open(client);
    }

    void ExpireStuck() {
        const auto now = Steady::now();
        for (Client& client : clients_)
            if (client.fd >= 0 && now - client.started > kRequestTimeout) Fail(client);
    }

    // The client starts over on the loop's next turn.
    void Fail(Client& client) {
        ++results_.failed;
        Drop(client);
    }

    void Drop(Client& client) {
        if (client.fd >= 0) close(client.fd);
        client.fd = -1;
    }

    const Target& target_;
    std::vector<Client> clients_;
    int epoll_ = -1;
    Results results_;
};

double Percentile(const std::vector<double>& sorted, double share) {
    if (sorted.empty()) return 0;
    return sorted[std::min(sorted.size() - 1, size_t(share * double(sorted.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: web_load_client <port> <path> <clients> <seconds>\n");
        return 2;
    }
    Target target;
    target.address.sin_family = AF_INET;
    target.address.sin_port = htons(uint16_t(std::atoi(argv[1])));
    target.address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.request =
        std::string("GET ") + argv[2] + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    const int clients = std::max(1, std::atoi(argv[3]));
    const double seconds = std::max(1.0, std::atof(argv[4]));

    const auto end =
        Steady::now() + std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(seconds));
    std::vector<Results> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        const int share = clients / kThreads + (t < clients % kThreads ? 1 : 0);
        if (share == 0) continue;
        threads.emplace_back([&, t, share] { results[size_t(t)] = Worker(target, share).Run(end); });
    }
    for (std::thread& thread : threads) thread.join();

    Results all;
    for (Results& r : results) {
        all.completed += r.completed;
        all.failed += r.failed;
        all.latenciesMs.insert(all.latenciesMs.end(), r.latenciesMs.begin(), r.latenciesMs.end());
    }
    std::sort(all.latenciesMs.begin(), all.latenciesMs.end());
    std::printf("requests/s %.0f failed %ld p50 %.2f ms p99 %.2f ms max %.2f ms\n",
                double(all.completed) / seconds, all.failed, Percentile(all.latenciesMs, 0.50),
                Percentile(all.latenciesMs, 0.99), all.latenciesMs.empty() ? 0.0 : all.latenciesMs.back());
    return 0;
}
