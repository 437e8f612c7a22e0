#include "net/web_request.h"

#include <vector>

#include "engine/base64.h"

namespace kestrova {
namespace {

// The text from `start` up to the first `stop` character, the end of the bytes, or `limit` characters.
std::string FieldFrom(std::string_view text, size_t start, char stop) {
    if (start >= text.size()) return {};
    std::string_view rest = text.substr(start, kWebRequestFieldLimit);
    return std::string(rest.substr(0, rest.find(stop)));
}

}  // namespace

bool ParseWebRequest(std::string_view received, WebRequest* out) {
    if (received.find("GET") == std::string_view::npos && received.find("POST") == std::string_view::npos)
        return false;
    if (received.find("\r\n\r\n") == std::string_view::npos) return false;
    size_t method = received.find("GET /");
    if (method == std::string_view::npos) method = received.find("POST /");
    if (method == std::string_view::npos) return false;
    out->path = FieldFrom(received, received.find('/', method), ' ');

    constexpr std::string_view kBasic = "Authorization: Basic";
    size_t basic = received.find(kBasic);
    out->authorization =
        basic == std::string_view::npos ? std::string() : FieldFrom(received, basic + 21, '\r');
    return true;
}

bool IsAuthorised(std::string_view authorization, std::string_view password) {
    if (password.empty()) return true;
    if (authorization.empty()) return false;
    std::string text(authorization);
    int size = Base64Decode(text.c_str(), nullptr);
    if (size <= 0) return false;
    std::vector<char> decoded(size_t(size) + 1, '\0');
    if (Base64Decode(text.c_str(), decoded.data()) != 0) return false;
    std::string_view credentials(decoded.data());  // the decoder's text ends at its first NUL
    size_t colon = credentials.find(':');
    return colon != std::string_view::npos && credentials.substr(colon + 1) == password;
}

}  // namespace kestrova
