#pragma once
// SMTP authentication after EHLO: LOGIN, PLAIN, CRAM-MD5 and DIGEST-MD5, the first of them (in that order)
// that the server names. The payloads go to the trace redacted.

#include <optional>
#include <string>
#include <string_view>

#include "net/smtp_commands.h"

namespace kestrova {

// What authentication needs of the session.
class SmtpConversation {
public:
    virtual ~SmtpConversation() = default;
    // Sends `text` as the command of `id`, reads the reply and checks its code (raising the row's error).
    // `trace` is written to the debug output in place of the text when it is not empty.
    virtual void Exchange(SmtpCommandId id, std::string_view text, std::string_view trace = {}) = 0;
    // The text of the last complete reply.
    virtual const std::string& LastReply() const = 0;
    // The server's IPv4 address in dotted form, empty when it cannot be read.
    virtual std::string PeerAddress() const = 0;
};

enum class SmtpAuthMethod { kLogin, kPlain, kCramMd5, kDigestMd5 };

// The first of LOGIN, PLAIN, CRAM-MD5, DIGEST-MD5 that the EHLO reply names.
std::optional<SmtpAuthMethod> ChooseSmtpAuthMethod(std::string_view ehloReply);

// Authenticates with the method the EHLO reply allows: 204 for an empty login, 205 for an empty password,
// 417 when the reply names none of the four methods.
void Authenticate(SmtpConversation& session, std::string_view ehloReply, const std::string& login,
                  const std::string& password);

// The trace of a line that carries credentials.
inline constexpr char kRedactedTrace[] = "[redacted]";

// The PLAIN message: login, zero byte, login, zero byte, password.
std::string PlainAuthMessage(std::string_view login, std::string_view password);
// HMAC-MD5 of `data` keyed by `key`, as 32 lower-case hexadecimal digits.
std::string HmacMd5Hex(std::string_view key, std::string_view data);
// The CRAM-MD5 answer before Base64: the login, a blank and the HMAC-MD5 of the challenge by the password.
std::string CramMd5Response(std::string_view challenge, std::string_view login, std::string_view password);

struct DigestChallenge {
    std::string nonce;
    std::string realm;  // empty when the challenge has none
};
// Reads the nonce and the realm of a decoded DIGEST-MD5 challenge; 207 without a nonce or with a quoted value
// that is not closed.
DigestChallenge ParseDigestChallenge(std::string_view challenge);
// The DIGEST-MD5 response text (before Base64), qop "auth", nc 1.
std::string DigestMd5Response(const DigestChallenge& challenge, std::string_view login,
                              std::string_view password, std::string_view cnonce, std::string_view digestUri);

}  // namespace kestrova
