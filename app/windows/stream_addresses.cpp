#include "app/windows/stream_addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/base/debug.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

bool IsUpIpv4(const ifaddrs& entry) {
    return entry.ifa_addr && entry.ifa_addr->sa_family == AF_INET && (entry.ifa_flags & IFF_UP);
}

std::wstring Dotted(const sockaddr* address) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
    return FromUtf8(text);
}

}  // namespace

std::vector<std::wstring> ListenAddresses() {
    std::vector<std::wstring> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        DebugOutput(std::string("The network interfaces cannot be read: ") + std::strerror(errno));
    } else {
        for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
            if (!IsUpIpv4(*entry) || (entry->ifa_flags & IFF_LOOPBACK)) continue;
            std::wstring address = Dotted(entry->ifa_addr);
            if (std::find(addresses.begin(), addresses.end(), address) == addresses.end())
                addresses.push_back(std::move(address));
        }
        freeifaddrs(list);
    }
    addresses.push_back(kLoopbackAddress);
    return addresses;
}

}  // namespace kestrova
