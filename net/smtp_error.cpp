#include "net/smtp_error.h"

namespace kestrova {

std::string ECSmtp::MessageText(int32_t code) {
    switch (code) {
        case kSendFailed:
            return "Function send() failed";
        case kRecvFailed:
            return "Function recv() failed";
        case kConnectFailed:
            return "Function connect failed";
        case kUnknownServer:
            return "Unable to determine remote server";
        case kInvalidSocket:
            return "Invalid winsock2 socket";
        case kHostnameFailed:
            return "Function hostname() failed";
        case kNonBlockingFailed:
            return "Function ioctlsocket() failed";
        case kBadIpv4Address:
            return "Improper IPv4 address";
        case kUndefinedSender:
            return "Undefined mail sender";
        case kUndefinedRecipients:
            return "Undefined at least one reciepent";
        case kUndefinedLogin:
            return "Undefined user login";
        case kUndefinedPassword:
            return "Undefined user password";
        case kBadDigestChallenge:
            return "Server returned a bad digest MD5 response";
        case kDigestServerName:
            return "Unable to determine server name for digest MD5 response";
        case kUndefinedRecipientMail:
            return "Undefined recipent mail";
        case kMailFromRejected:
            return "Server returned error after sending MAIL FROM";
        case kEhloRejected:
            return "Server returned error after sending EHLO";
        case kAuthPlainRejected:
            return "Server returned error after sending AUTH PLAIN";
        case kAuthLoginRejected:
            return "Server returned error after sending AUTH LOGIN";
        case kAuthCramMd5Rejected:
            return "Server returned error after sending AUTH CRAM-MD5";
        case kAuthDigestMd5Rejected:
            return "Server returned error after sending AUTH DIGEST-MD5";
        case kDigestResponseRejected:
            return "Server returned error after sending MD5 DIGEST";
        case kDataRejected:
            return "Server returned error after sending DATA";
        case kQuitRejected:
            return "Server returned error after sending QUIT";
        case kRcptToRejected:
            return "Server returned error after sending RCPT TO";
        case kMessageBodyRejected:
            return "Error in message body";
        case kConnectionClosed:
            return "Server has closed the connection";
        case kServerNotResponding:
            return "Server not responding";
        case kAttachmentMissing:
            return "Attachment file does not exist";
        case kMessageTooBig:
            return "Message is too big";
        case kBadLoginOrPassword:
            return "Bad login or password";
        case kLoginUserRejected:
            return "Undefined xyz SMTP response";
        case kLackOfMemory:
            return "Lack of memory";
        case kTimeFailed:
            return "time() error";
        case kStartTlsRejected:
            return "Server returned error after sending STARTTLS";
        case kSslProblem:
            return "SSL problem";
        case kDataBlockFailed:
            return "Failed to send data block";
        case kStartTlsUnsupported:
            return "The STARTTLS command is not supported by the server";
        case kNoCommonAuthMethod:
            return "AUTH LOGIN is not supported by the server";
        default:
            return "Undefined error id";  // also 109 and 403, which have no text of their own, and codes never raised
    }
}

}  // namespace kestrova
