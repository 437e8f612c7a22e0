#pragma once
// ECSmtp: the one error the mail code throws, by value, and catches inside itself. It carries a numeric code;
// MessageText gives the code's fixed text.

#include <cstdint>
#include <string>

namespace kestrova {

class ECSmtp {
public:
    enum Code : int32_t {
        kSendFailed = 102,
        kRecvFailed = 103,
        kConnectFailed = 104,
        kUnknownServer = 105,
        kInvalidSocket = 106,
        kHostnameFailed = 107,
        kNonBlockingFailed = 108,
        kWaitFailed = 109,
        kBadIpv4Address = 110,
        kUndefinedSender = 201,
        kUndefinedRecipients = 203,
        kUndefinedLogin = 204,
        kUndefinedPassword = 205,
        kBadDigestChallenge = 207,
        kDigestServerName = 208,
        kUndefinedRecipientMail = 209,
        kMailFromRejected = 300,
        kEhloRejected = 301,
        kAuthPlainRejected = 302,
        kAuthLoginRejected = 303,
        kAuthCramMd5Rejected = 304,
        kAuthDigestMd5Rejected = 305,
        kDigestResponseRejected = 306,
        kDataRejected = 307,
        kQuitRejected = 308,
        kRcptToRejected = 309,
        kMessageBodyRejected = 310,
        kConnectionClosed = 400,
        kServerNotResponding = 402,
        kConnectTimedOut = 403,
        kAttachmentMissing = 404,
        kMessageTooBig = 405,
        kBadLoginOrPassword = 406,
        kLoginUserRejected = 407,
        kLackOfMemory = 408,
        kTimeFailed = 409,
        kStartTlsRejected = 413,
        kSslProblem = 414,
        kDataBlockFailed = 415,
        kStartTlsUnsupported = 416,
        kNoCommonAuthMethod = 417,
    };

    explicit ECSmtp(int32_t code) : code_(code) {}

    int32_t Code() const { return code_; }

    static std::string MessageText(int32_t code);

private:
    int32_t code_;
};

}  // namespace kestrova
