#include "net/host_resolver.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <mutex>

namespace kestrova {
namespace {

std::mutex g_mutex;
HostResolver g_resolver;

std::optional<uint32_t> SystemResolve(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    uint32_t address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return address;
}

}  // namespace

HostResolver SetHostResolver(HostResolver resolver) {
    std::lock_guard<std::mutex> g(g_mutex);
    HostResolver old = std::move(g_resolver);
    g_resolver = std::move(resolver);
    return old;
}

std::optional<uint32_t> ResolveHostIPv4(const std::string& host) {
    in_addr dotted;
    if (inet_pton(AF_INET, host.c_str(), &dotted) == 1) return dotted.s_addr;
    HostResolver resolver;
    {
        std::lock_guard<std::mutex> g(g_mutex);
        resolver = g_resolver;
    }
    return resolver ? resolver(host) : SystemResolve(host);
}

}  // namespace kestrova
