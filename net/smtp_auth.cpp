#include "net/smtp_auth.h"

#include <cstdio>

#include "net/mail_base64.h"
#include "net/md5.h"
#include "net/smtp_error.h"
#include "net/smtp_reply.h"
#include "platform/base/clock.h"

namespace kestrova {
namespace {

constexpr size_t kHmacBlock = 64;

MD5::Digest Md5Of(std::string_view a, std::string_view b = {}) {
    MD5 md5;
    md5.update(a.data(), a.size());
    md5.update(b.data(), b.size());
    md5.finalize();
    return md5.raw_digest();
}

std::string Md5HexOf(std::string_view text) {
    return HexOf(Md5Of(text));
}

std::string DecodedChallenge(const SmtpConversation& session) {
    std::vector<uint8_t> bytes = MailBase64Decode(ReplyChallenge(session.LastReply()));
    return std::string(bytes.begin(), bytes.end());
}

// The value of directive `name` in a DIGEST-MD5 challenge; none when the directive is absent.
std::optional<std::string> DirectiveValue(std::string_view challenge, std::string_view name) {
    for (size_t at = challenge.find(name); at != std::string_view::npos; at = challenge.find(name, at + 1)) {
        bool starts =
            at == 0 || challenge[at - 1] == ',' || challenge[at - 1] == ' ' || challenge[at - 1] == '\t';
        size_t equals = at + name.size();
        if (!starts || equals >= challenge.size() || challenge[equals] != '=') continue;
        size_t start = equals + 1;
        if (start < challenge.size() && challenge[start] == '"') {
            size_t close = challenge.find('"', start + 1);
            if (close == std::string_view::npos) throw ECSmtp(ECSmtp::kBadDigestChallenge);
            return std::string(challenge.substr(start + 1, close - start - 1));
        }
        size_t end = challenge.find(',', start);
        return std::string(challenge.substr(start, end == std::string_view::npos ? end : end - start));
    }
    return std::nullopt;
}

std::string Line(std::string_view payload) {
    return MailBase64Encode(payload) + "\r\n";
}

void AuthLogin(SmtpConversation& session, const std::string& login, const std::string& password) {
    session.Exchange(kSmtpAuthLogin, FormatSmtpCommand(kSmtpAuthLogin));
    session.Exchange(kSmtpLoginUser, Line(login), kRedactedTrace);
    session.Exchange(kSmtpPassword, Line(password), kRedactedTrace);
}

void AuthPlain(SmtpConversation& session, const std::string& login, const std::string& password) {
    session.Exchange(kSmtpAuthPlain,
                     FormatSmtpCommand(kSmtpAuthPlain, MailBase64Encode(PlainAuthMessage(login, password))),
                     FormatSmtpCommand(kSmtpAuthPlain, kRedactedTrace));
}

void AuthCramMd5(SmtpConversation& session, const std::string& login, const std::string& password) {
    session.Exchange(kSmtpAuthCramMd5, FormatSmtpCommand(kSmtpAuthCramMd5));
    session.Exchange(kSmtpPassword, Line(CramMd5Response(DecodedChallenge(session), login, password)),
                     kRedactedTrace);
}

void AuthDigestMd5(SmtpConversation& session, const std::string& login, const std::string& password) {
    session.Exchange(kSmtpAuthDigestMd5, FormatSmtpCommand(kSmtpAuthDigestMd5));
    DigestChallenge challenge = ParseDigestChallenge(DecodedChallenge(session));
    std::string address = session.PeerAddress();
    if (address.empty()) throw ECSmtp(ECSmtp::kDigestServerName);
    char cnonce[32];  // sixteen hexadecimal digits at most
    std::snprintf(cnonce, sizeof cnonce, "%llx",
                  static_cast<unsigned long long>(GetClock().CalendarSeconds()));
    session.Exchange(kSmtpDigestResponse,
                     Line(DigestMd5Response(challenge, login, password, cnonce, "smtp/" + address)),
                     kRedactedTrace);
    session.Exchange(kSmtpPassword, "\r\n");
}

}  // namespace

std::optional<SmtpAuthMethod> ChooseSmtpAuthMethod(std::string_view ehloReply) {
    if (ReplyNamesKeyword(ehloReply, "LOGIN")) return SmtpAuthMethod::kLogin;
    if (ReplyNamesKeyword(ehloReply, "PLAIN")) return SmtpAuthMethod::kPlain;
    if (ReplyNamesKeyword(ehloReply, "CRAM-MD5")) return SmtpAuthMethod::kCramMd5;
    if (ReplyNamesKeyword(ehloReply, "DIGEST-MD5")) return SmtpAuthMethod::kDigestMd5;
    return std::nullopt;
}

void Authenticate(SmtpConversation& session, std::string_view ehloReply, const std::string& login,
                  const std::string& password) {
    if (login.empty()) throw ECSmtp(ECSmtp::kUndefinedLogin);
    if (password.empty()) throw ECSmtp(ECSmtp::kUndefinedPassword);
    std::optional<SmtpAuthMethod> method = ChooseSmtpAuthMethod(ehloReply);
    if (!method) throw ECSmtp(ECSmtp::kNoCommonAuthMethod);
    switch (*method) {
        case SmtpAuthMethod::kLogin:
            AuthLogin(session, login, password);
            break;
        case SmtpAuthMethod::kPlain:
            AuthPlain(session, login, password);
            break;
        case SmtpAuthMethod::kCramMd5:
            AuthCramMd5(session, login, password);
            break;
        case SmtpAuthMethod::kDigestMd5:
            AuthDigestMd5(session, login, password);
            break;
    }
}

std::string PlainAuthMessage(std::string_view login, std::string_view password) {
    std::string message(login);
    message += '\0';
    message += login;
    message += '\0';
    message += password;
    return message;
}

std::string HmacMd5Hex(std::string_view key, std::string_view data) {
    uint8_t block[kHmacBlock] = {};
    if (key.size() > kHmacBlock) {
        MD5::Digest shortKey = Md5Of(key);
        std::copy(shortKey.begin(), shortKey.end(), block);
    } else {
        std::copy(key.begin(), key.end(), block);
    }
    std::string inner(kHmacBlock, '\0'), outer(kHmacBlock, '\0');
    for (size_t i = 0; i < kHmacBlock; ++i) {
        inner[i] = char(block[i] ^ 0x36);
        outer[i] = char(block[i] ^ 0x5C);
    }
    MD5::Digest innerDigest = Md5Of(inner, data);
    return HexOf(Md5Of(
        outer, std::string_view(reinterpret_cast<const char*>(innerDigest.data()), innerDigest.size())));
}

std::string CramMd5Response(std::string_view challenge, std::string_view login, std::string_view password) {
    return std::string(login) + " " + HmacMd5Hex(password, challenge);
}

DigestChallenge ParseDigestChallenge(std::string_view challenge) {
    std::optional<std::string> nonce = DirectiveValue(challenge, "nonce");
    if (!nonce) throw ECSmtp(ECSmtp::kBadDigestChallenge);
    return DigestChallenge{*nonce, DirectiveValue(challenge, "realm").value_or("")};
}

std::string DigestMd5Response(const DigestChallenge& challenge, std::string_view login,
                              std::string_view password, std::string_view cnonce,
                              std::string_view digestUri) {
    const std::string nc = "00000001", qop = "auth";
    const std::string nonce = challenge.nonce, realm = challenge.realm;
    MD5::Digest a1Key = Md5Of(std::string(login) + ":" + realm + ":" + std::string(password));
    std::string ha1 = Md5HexOf(std::string(reinterpret_cast<const char*>(a1Key.data()), a1Key.size()) + ":" +
                               nonce + ":" + std::string(cnonce));
    std::string ha2 = Md5HexOf("AUTHENTICATE:" + std::string(digestUri));
    std::string response =
        Md5HexOf(ha1 + ":" + nonce + ":" + nc + ":" + std::string(cnonce) + ":" + qop + ":" + ha2);

    std::string text = "charset=utf-8,username=\"" + std::string(login) + "\"";
    if (!realm.empty()) text += ",realm=\"" + realm + "\"";
    text += ",nonce=\"" + nonce + "\"";
    text += ",nc=" + nc;
    text += ",cnonce=\"" + std::string(cnonce) + "\"";
    text += ",digest-uri=\"" + std::string(digestUri) + "\"";
    text += ",response=" + response;
    text += ",qop=" + qop;
    return text;
}

}  // namespace kestrova
