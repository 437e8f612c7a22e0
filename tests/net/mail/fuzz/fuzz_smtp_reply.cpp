// Server replies as the mail client reads them: the end of a reply arriving in pieces, the keywords of EHLO,
// and the DIGEST-MD5 challenge. None may crash, and a complete reply must stay complete as more arrives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/mail_base64.h"
#include "net/smtp_auth.h"
#include "net/smtp_error.h"
#include "net/smtp_reply.h"

using namespace kestrova;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte sets the size of the pieces in which the rest arrives.
    size_t piece = data[0] % 64 + 1;
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string text;
    std::optional<int> first;
    for (size_t at = 0; at < input.size(); at += piece) {
        text.append(input.substr(at, piece));
        std::optional<int> code = FinalReplyCode(text);
        if (first && code != first) std::abort();  // more bytes never change a reply that was complete
        if (code && (*code < 0 || *code > 999)) std::abort();
        if (!first) first = code;
    }
    for (std::string_view keyword : {"AUTH", "STARTTLS", "LOGIN", "PLAIN", "CRAM-MD5", "DIGEST-MD5", ""}) {
        ReplyNamesKeyword(text, keyword);
    }
    ChooseSmtpAuthMethod(text);

    std::vector<uint8_t> decoded = MailBase64Decode(ReplyChallenge(text));
    for (std::string_view challenge :
         {std::string_view(reinterpret_cast<const char*>(decoded.data()), decoded.size()), input}) {
        try {
            DigestChallenge parsed = ParseDigestChallenge(challenge);
            DigestMd5Response(parsed, "kestrova", "s3cret-pass", "1", "smtp/127.0.0.1");
        } catch (const ECSmtp& e) {
            if (e.Code() != ECSmtp::kBadDigestChallenge) std::abort();
        }
    }
    return 0;
}
