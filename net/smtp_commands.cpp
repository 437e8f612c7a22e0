#include "net/smtp_commands.h"

#include "net/smtp_error.h"

namespace kestrova {
namespace {

constexpr SmtpCommand kTable[kSmtpCommandCount] = {
    {kSmtpGreeting, "", 0, 300, 220, ECSmtp::kServerNotResponding},
    {kSmtpEhlo, "EHLO %s\r\n", 300, 300, 250, ECSmtp::kEhloRejected},
    {kSmtpAuthPlain, "AUTH PLAIN %s\r\n", 300, 300, 235, ECSmtp::kAuthPlainRejected},
    {kSmtpAuthLogin, "AUTH LOGIN\r\n", 300, 300, 334, ECSmtp::kAuthLoginRejected},
    {kSmtpAuthCramMd5, "AUTH CRAM-MD5\r\n", 300, 300, 334, ECSmtp::kAuthCramMd5Rejected},
    {kSmtpAuthDigestMd5, "AUTH DIGEST-MD5\r\n", 300, 300, 334, ECSmtp::kAuthDigestMd5Rejected},
    {kSmtpDigestResponse, "", 300, 300, 334, ECSmtp::kDigestResponseRejected},
    {kSmtpLoginUser, "", 300, 300, 334, ECSmtp::kLoginUserRejected},
    {kSmtpPassword, "", 300, 300, 235, ECSmtp::kBadLoginOrPassword},
    {kSmtpMailFrom, "MAIL FROM:<%s>\r\n", 300, 300, 250, ECSmtp::kMailFromRejected},
    {kSmtpRcptTo, "RCPT TO:<%s>\r\n", 300, 300, 250, ECSmtp::kRcptToRejected},
    {kSmtpData, "DATA\r\n", 300, 120, 354, ECSmtp::kDataRejected},
    {kSmtpDataBlock, "", 180, 0, 0, ECSmtp::kDataBlockFailed},
    {kSmtpEndOfData, "\r\n.\r\n", 180, 600, 250, ECSmtp::kMessageBodyRejected},
    {kSmtpQuit, "QUIT\r\n", 300, 300, 221, ECSmtp::kQuitRejected},
    {kSmtpStartTls, "STARTTLS\r\n", 300, 300, 220, ECSmtp::kStartTlsRejected},
};

}  // namespace

const SmtpCommand& FindSmtpCommand(SmtpCommandId id) {
    return kTable[id];
}

std::string FormatSmtpCommand(SmtpCommandId id, std::string_view argument) {
    std::string text = kTable[id].format;
    size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

}  // namespace kestrova
