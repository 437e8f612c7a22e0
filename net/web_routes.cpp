#include "net/web_routes.h"

#include <limits>

#include "net/ascii_case.h"
#include "net/server_db.h"
#include "net/web_pages.h"
#include "net/web_reply.h"

namespace kestrova {
namespace {

std::string FrameReply(std::string_view path, const WebSite& site) {
    int number = LeadingNumber(path.substr(1));
    std::vector<uint8_t> frame;
    if (LoadWholeFile(std::to_wstring(number) + L".jpg", &frame, site.frameFolder) == 0)
        return ComposeNotFoundReply();  // not written yet: the browser keeps its last picture
    return ComposeReply(200, "image/jpeg",
                        std::string_view(reinterpret_cast<const char*>(frame.data()), frame.size()));
}

std::string AssetReply(const ServerDbAsset& asset, const WebSite& site) {
    if (!site.serverDb || site.serverDb->size() != kServerDbSize) return ComposeNotFoundReply();
    const char* bytes = reinterpret_cast<const char*>(site.serverDb->data());
    return ComposeReply(200, asset.contentType, std::string_view(bytes + asset.offset, asset.length));
}

}  // namespace

int LeadingNumber(std::string_view text) {
    constexpr int kMax = std::numeric_limits<int>::max();
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        int digit = c - '0';
        n = n > (kMax - digit) / 10 ? kMax : n * 10 + digit;
    }
    return n;
}

std::string RouteWebRequest(std::string_view path, const WebSite& site) {
    if (path == "/" || EqualsIgnoringCase(path, "/index.php"))
        return ComposeReply(200, "text/html", BuildIndexPage(site.publishedCount));
    constexpr std::string_view kDevicePage = "/device.php?id=";
    if (StartsIgnoringCase(path, kDevicePage)) {
        int number = LeadingNumber(path.substr(kDevicePage.size()));
        if (number < 1 || number > site.publishedCount) return ComposeNotFoundReply();
        return ComposeReply(200, "text/html", BuildDevicePage(number));
    }
    if (path.find(".jpg") != std::string_view::npos) return FrameReply(path, site);
    if (EqualsIgnoringCase(path, "/global.css")) return ComposeReply(200, "text/css", StyleSheet());
    for (const ServerDbAsset& asset : kServerDbAssets)
        if (EqualsIgnoringCase(path, asset.path)) return AssetReply(asset, site);
    return ComposeNotFoundReply();
}

}  // namespace kestrova
