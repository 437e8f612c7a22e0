#include "net/web_request.h"

#include <vector>

#include "engine/base64.h"
#include "net/ascii_case.h"

namespace kestrova {
namespace {

// The text from `start` up to the first `stop` character, the end of the bytes, or `limit` characters.
std::string FieldFrom(std::string_view text, size_t start, char stop) {
    if (start >= text.size()) return {};
    std::string_view rest = text.substr(start, kWebRequestFieldLimit);
    return std::string(rest.substr(0, rest.find(stop)));
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Whether a "Connection" field of the head lists the option "close". Field names and options are compared
// without regard to case; options are separated by commas.
bool AsksToClose(std::string_view head) {
    constexpr std::string_view kName = "connection:";
    for (size_t line = head.find("\r\n"); line != std::string_view::npos; line = head.find("\r\n", line)) {
        line += 2;
        const std::string_view field = head.substr(line, head.find("\r\n", line) - line);
        if (!StartsIgnoringCase(field, kName)) continue;
        std::string_view options = field.substr(kName.size());
        while (!options.empty()) {
            const size_t comma = options.find(',');
            if (EqualsIgnoringCase(TrimBlanks(options.substr(0, comma)), "close")) return true;
            options = comma == std::string_view::npos ? std::string_view() : options.substr(comma + 1);
        }
    }
    return false;
}

}  // namespace

bool ParseWebRequest(std::string_view received, WebRequest* out) {
    if (received.find("GET") == std::string_view::npos && received.find("POST") == std::string_view::npos)
        return false;
    const size_t headEnd = received.find("\r\n\r\n");
    if (headEnd == std::string_view::npos) return false;
    size_t method = received.find("GET /");
    if (method == std::string_view::npos) method = received.find("POST /");
    if (method == std::string_view::npos) return false;
    out->path = FieldFrom(received, received.find('/', method), ' ');

    constexpr std::string_view kBasic = "Authorization: Basic";
    size_t basic = received.find(kBasic);
    out->authorization =
        basic == std::string_view::npos ? std::string() : FieldFrom(received, basic + 21, '\r');
    out->closeAfterReply = AsksToClose(received.substr(0, headEnd + 2));
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
