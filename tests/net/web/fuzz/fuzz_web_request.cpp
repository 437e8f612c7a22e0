// Feeds arbitrary bytes of one receive through the request reading, the authentication and the route table.

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "net/server_db.h"
#include "net/web_request.h"
#include "net/web_routes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova;
    if (size > kWebRequestBufferSize) return 0;
    const std::string_view received(reinterpret_cast<const char*>(data), size);
    WebRequest request;
    if (!ParseWebRequest(received, &request)) return 0;
    if (request.path.empty() || request.path[0] != '/' || request.path.size() > kWebRequestFieldLimit ||
        request.authorization.size() > kWebRequestFieldLimit)
        std::abort();
    IsAuthorised(request.authorization, "S3cret");
    static const std::vector<uint8_t> db(kServerDbSize, 0x42);
    const WebSite site{3, L"/nonexistent-frame-folder/", &db};
    if (RouteWebRequest(request.path, site).rfind("HTTP/1.1 ", 0) != 0) std::abort();
    return 0;
}
