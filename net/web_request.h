#pragma once
// Reading one request of a web client: the whole head arrives in one receive, and only the path, the Basic
// credentials and a "Connection: close" are looked at. A POST is read like a GET; its body is ignored.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrova {

inline constexpr size_t kWebRequestBufferSize = 10240;
inline constexpr size_t kWebRequestFieldLimit = 250;

struct WebRequest {
    std::string path;  // from its "/" up to the next blank, at most 250 characters
    std::string
        authorization;  // the value of "Authorization: Basic" up to the next CR, at most 250 characters
    bool closeAfterReply = false;  // the head has a Connection field with the option "close"
};

// Reads the request in the bytes of one receive. False when they hold no complete request head, so that
// the connection ends without a reply.
bool ParseWebRequest(std::string_view received, WebRequest* out);

// True when `password` is empty, or when `authorization` decodes to "user:password" with exactly that
// password; the user name is not looked at.
bool IsAuthorised(std::string_view authorization, std::string_view password);

}  // namespace kestrova
