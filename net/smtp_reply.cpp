#include "net/smtp_reply.h"

namespace kestrova {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<int> FinalReplyCode(std::string_view text) {
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string_view::npos; start = end + 2) {
        std::string_view line = text.substr(start, end - start);
        if (line.size() > 2 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]) &&
            (line.size() == 3 || line[3] == ' ')) {
            return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
        }
    }
    return std::nullopt;
}

bool ReplyNamesKeyword(std::string_view reply, std::string_view keyword) {
    if (keyword.empty()) return false;
    for (size_t at = 1; at + keyword.size() <= reply.size(); ++at) {
        char before = reply[at - 1];
        if (before != ' ' && before != '-' && before != '=') continue;
        if (!EqualsIgnoringCase(reply.substr(at, keyword.size()), keyword)) continue;
        std::string_view after = reply.substr(at + keyword.size());
        if (after.starts_with(' ') || after.starts_with('=') || after.starts_with("\r\n")) return true;
    }
    return false;
}

std::string_view ReplyChallenge(std::string_view reply) {
    return reply.size() > 4 ? reply.substr(4) : "";
}

}  // namespace kestrova
