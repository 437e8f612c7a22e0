#pragma once
// The message that goes between DATA and the end-of-data line: a header, the body lines and each attachment
// as a Base64 part of a multipart/mixed message with one fixed boundary, handed out as data blocks.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

struct MailRecipient {
    std::string name;  // may be empty
    std::string address;
};

struct MailContent {
    std::string senderAddress;
    std::string senderName;
    std::string subject;
    std::string charset = "US-ASCII";  // of an all-ASCII body; a body with other bytes is declared UTF-8
    std::string mailer;                // the "X-Mailer: " text
    std::string replyTo;
    int priority = 3;  // 2 high, 3 normal, 4 low
    std::vector<MailRecipient> to;
    std::vector<std::string> lines;        // the body, one text per line
    std::vector<std::string> attachments;  // file paths, in the order added
};

inline constexpr char kMimeBoundary[] = "__MESSAGE__ID__54yg6f6h6y456345";
// The largest attachment total, counted in whole KiB.
inline constexpr uint64_t kMaxAttachmentBytes = 5120 * 1024;

using DataBlockSink = std::function<void(const std::string& block)>;

// Every attachment must open for reading (404) and their total size must stay within the limit (405).
void CheckAttachments(const std::vector<std::string>& paths);

// The header block, dated by the installed clock's local time (409 when the clock reads no time).
// Raises 203 without a To recipient and 201 without a sender address.
std::string BuildHeader(const MailContent& content);

// Hands the header, the body and the attachments to `send` block by block.
void WriteMessage(const MailContent& content, const DataBlockSink& send);

// The name an attachment is sent under: the part of its path after the last "/", or the whole path.
std::string AttachmentName(std::string_view path);

}  // namespace kestrova
