#pragma once
// The web server's reply format: a header without reason phrase or any line beyond the content type, the
// length and (for 401) the authentication request, followed by the body.

#include <string>
#include <string_view>

namespace kestrova {

// The header and the body of a 200 or 404 reply, ready to send.
std::string ComposeReply(int status, std::string_view contentType, std::string_view body);
// The 401 reply with the "Access Denied" page.
std::string ComposeUnauthorisedReply();
// The 404 reply with the "Not Found" page.
std::string ComposeNotFoundReply();

}  // namespace kestrova
