#include "net/mime_message.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "net/mail_base64.h"
#include "net/smtp_error.h"
#include "platform/base/clock.h"

namespace kestrova {
namespace {

constexpr size_t kAttachmentPiece = 54;    // bytes per Base64 line of an attachment (72 characters)
constexpr size_t kAttachmentBlock = 5120;  // gathered attachment bytes (plus 2 per line) per data block
constexpr size_t kBodyBase64Piece = 57;    // bytes per Base64 line of an encoded body (76 characters)

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File OpenForReading(const std::string& path) {
    return File(std::fopen(path.c_str(), "rb"), &std::fclose);
}

uint64_t FileSize(std::FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 ? uint64_t(info.st_size) : 0;
}

std::string RecipientText(const std::vector<MailRecipient>& list) {
    std::string text;
    for (const MailRecipient& r : list) {
        if (!text.empty()) text += ',';
        text += r.name + "<" + r.address + ">";
    }
    return text;
}

bool IsAscii(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        for (char c : line) {
            if (static_cast<unsigned char>(c) >= 0x80) return false;
        }
    }
    return true;
}

// Splits a message line at every CR LF, bare LF or bare CR, so that each piece goes out with CR LF.
std::vector<std::string_view> SplitLineBreaks(std::string_view line) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\r' && line[i] != '\n') continue;
        pieces.push_back(line.substr(start, i - start));
        if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') ++i;
        start = i + 1;
    }
    pieces.push_back(line.substr(start));
    return pieces;
}

// One message line as data: every line break as CR LF, and a "." doubled at the start of a line so that no
// line of the body can end the data.
std::string TextBlock(std::string_view line) {
    std::string block;
    for (std::string_view piece : SplitLineBreaks(line)) {
        if (!piece.empty() && piece[0] == '.') block += '.';
        block.append(piece);
        block += "\r\n";
    }
    return block;
}

// The whole body of a text that is not ASCII, with CR LF line ends, as Base64 lines.
std::string Base64BodyBlock(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        for (std::string_view piece : SplitLineBreaks(line)) {
            text.append(piece);
            text += "\r\n";
        }
    }
    std::string block;
    for (size_t i = 0; i < text.size(); i += kBodyBase64Piece) {
        block += MailBase64Encode(text.data() + i, std::min(kBodyBase64Piece, text.size() - i));
        block += "\r\n";
    }
    return block;
}

const char* PriorityLine(int priority) {
    if (priority == 2) return "X-Priority: 2 (High)\r\n";
    if (priority == 4) return "X-Priority: 4 (Low)\r\n";
    return "X-Priority: 3 (Normal)\r\n";
}

const char* MonthName(int month) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "Jan";
}

void WriteAttachment(const std::string& path, const DataBlockSink& send) {
    std::string name = "=?UTF-8?B?" + MailBase64Encode(AttachmentName(path)) + "?=";
    send(std::string("--") + kMimeBoundary + "\r\n" + "Content-Type: application/x-msdownload; name=\"" +
         name + "\"\r\n" + "Content-Transfer-Encoding: base64\r\n" +
         "Content-Disposition: attachment; filename=\"" + name + "\"\r\n" + "\r\n");

    File file = OpenForReading(path);
    if (!file) throw ECSmtp(ECSmtp::kAttachmentMissing);
    // One read more than the whole pieces: the remainder, or an empty last line when there is none.
    uint64_t reads = FileSize(file.get()) / kAttachmentPiece + 1;
    std::string gathered;
    size_t count = 0;
    for (uint64_t i = 0; i < reads; ++i) {
        uint8_t piece[kAttachmentPiece];
        size_t got = std::fread(piece, 1, sizeof piece, file.get());
        gathered += MailBase64Encode(piece, got);
        gathered += "\r\n";
        count += got + 2;
        if (count >= kAttachmentBlock) {
            send(gathered);
            gathered.clear();
            count = 0;
        }
    }
    if (!gathered.empty()) send(gathered);
}

}  // namespace

void CheckAttachments(const std::vector<std::string>& paths) {
    uint64_t total = 0;
    for (const std::string& path : paths) {
        File file = OpenForReading(path);
        if (!file) throw ECSmtp(ECSmtp::kAttachmentMissing);
        total += FileSize(file.get());
        if ((total & ~uint64_t(1023)) > kMaxAttachmentBytes) throw ECSmtp(ECSmtp::kMessageTooBig);
    }
}

std::string BuildHeader(const MailContent& content) {
    Clock& clock = GetClock();
    if (clock.CalendarSeconds() < 1) throw ECSmtp(ECSmtp::kTimeFailed);
    LocalTime now = clock.Now();
    if (content.to.empty()) throw ECSmtp(ECSmtp::kUndefinedRecipients);

    char date[64];  // the longest date line is 35 characters
    std::snprintf(date, sizeof date, "Date: %d %s %d %d:%d:%d\r\n", now.day, MonthName(now.month), now.year,
                  now.hour, now.minute, now.second);
    std::string header = date;

    if (content.senderAddress.empty()) throw ECSmtp(ECSmtp::kUndefinedSender);
    header += "From: " + content.senderName + " <" + content.senderAddress + ">\r\n";
    if (!content.mailer.empty()) header += "X-Mailer: " + content.mailer + "\r\n";
    if (!content.replyTo.empty()) header += "Reply-To: " + content.replyTo + "\r\n";
    header += PriorityLine(content.priority);
    header += "To: " + RecipientText(content.to) + "\r\n";
    header += content.subject.empty() ? "Subject:  \r\n" : "Subject: " + content.subject + "\r\n";
    header += "MIME-Version: 1.0\r\n";

    bool ascii = IsAscii(content.lines);
    std::string charset = ascii ? content.charset : "UTF-8";
    std::string encoding =
        ascii ? "Content-Transfer-Encoding: 7bit\r\n" : "Content-Transfer-Encoding: base64\r\n";
    if (!content.attachments.empty()) {
        header += std::string("Content-Type: multipart/mixed; boundary=\"") + kMimeBoundary + "\"\r\n\r\n--" +
                  kMimeBoundary + "\r\nContent-type: text/plain; charset=" + charset + "\r\n" + encoding +
                  "\r\n";
    } else {
        header += "Content-type: text/plain; charset=\"" + charset + "\"\r\n" + encoding + "\r\n";
    }
    return header;
}

void WriteMessage(const MailContent& content, const DataBlockSink& send) {
    send(BuildHeader(content));
    if (content.lines.empty()) {
        send(" \r\n");
    } else if (IsAscii(content.lines)) {
        for (const std::string& line : content.lines) send(TextBlock(line));
    } else {
        send(Base64BodyBlock(content.lines));
    }
    for (const std::string& path : content.attachments) WriteAttachment(path, send);
    if (!content.attachments.empty()) send(std::string("\r\n--") + kMimeBoundary + "--\r\n");
}

std::string AttachmentName(std::string_view path) {
    size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace kestrova
