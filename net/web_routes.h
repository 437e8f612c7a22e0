#pragma once
// The route table of the web server: which reply an authorised request path gets.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// What a connection serves, fixed when it was accepted.
struct WebSite {
    int publishedCount = 0;                          // devices 1..publishedCount have pages
    std::wstring frameFolder;                        // where "N.jpg" of each device is written, ending in "/"
    const std::vector<uint8_t>* serverDb = nullptr;  // "Server.db" of the right size, or empty for none
};

// The whole reply (header and body) for an authorised request of `path`.
std::string RouteWebRequest(std::string_view path, const WebSite& site);

// The number made of the leading decimal digits of `text`; 0 when there are none. Saturates instead of
// overflowing.
int LeadingNumber(std::string_view text);

}  // namespace kestrova
