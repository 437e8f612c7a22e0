#include "net/web_reply.h"

#include "net/web_pages.h"

namespace kestrova {
namespace {

std::string Compose(int status, std::string_view contentType, std::string_view extraHeader,
                    std::string_view body) {
    std::string reply;
    reply.reserve(160 + body.size());
    reply += "HTTP/1.1 ";
    reply += std::to_string(status);
    reply += "\r\nContent-Type: ";
    reply += contentType;
    reply += "; charset=utf-8\r\n";
    reply += extraHeader;
    reply += "Content-Length: ";
    reply += std::to_string(body.size());
    reply += "\r\n\r\n";
    reply += body;
    return reply;
}

}  // namespace

std::string ComposeReply(int status, std::string_view contentType, std::string_view body) {
    return Compose(status, contentType, {}, body);
}

std::string ComposeUnauthorisedReply() {
    return Compose(401, "text/html", "WWW-Authenticate: Basic  realm=\"\"\r\n", AccessDeniedPage());
}

std::string ComposeNotFoundReply() {
    return Compose(404, "text/html", {}, NotFoundPage());
}

}  // namespace kestrova
