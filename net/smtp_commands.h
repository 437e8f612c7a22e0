#pragma once
// The SMTP command table: for every step of a session, what is sent, how long the send and the reply may
// take, the reply code that must come back and the error raised otherwise.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

enum SmtpCommandId {
    kSmtpGreeting = 0,
    kSmtpEhlo,
    kSmtpAuthPlain,
    kSmtpAuthLogin,
    kSmtpAuthCramMd5,
    kSmtpAuthDigestMd5,
    kSmtpDigestResponse,
    kSmtpLoginUser,
    kSmtpPassword,  // also the final line of the other methods
    kSmtpMailFrom,
    kSmtpRcptTo,
    kSmtpData,
    kSmtpDataBlock,  // no reply is read
    kSmtpEndOfData,
    kSmtpQuit,
    kSmtpStartTls,
    kSmtpCommandCount
};

struct SmtpCommand {
    SmtpCommandId id;
    const char* format;  // "%s" stands for the argument; empty when the text is made elsewhere
    uint32_t sendTimeoutSeconds;
    uint32_t receiveTimeoutSeconds;
    int expectedReply;  // 0: none is read
    int32_t errorCode;
};

const SmtpCommand& FindSmtpCommand(SmtpCommandId id);

// The command's text with `argument` in place of its "%s".
std::string FormatSmtpCommand(SmtpCommandId id, std::string_view argument = {});

}  // namespace kestrova
