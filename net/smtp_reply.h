#pragma once
// Reading SMTP replies: where a (possibly multi-line) reply ends, and which keywords it names.

#include <optional>
#include <string_view>

namespace kestrova {

// The code of the reply's final line when `text` holds it: the first complete line (ending in CR LF) longer
// than two characters that begins with three digits followed by nothing or a blank. Continuation lines (three
// digits and a hyphen) and anything else are passed over.
std::optional<int> FinalReplyCode(std::string_view text);

// True when `keyword` occurs in the reply, in any letter case, not at its first character, preceded by a
// blank,
// "-" or "=" and followed by a blank, "=" or CR LF.
bool ReplyNamesKeyword(std::string_view reply, std::string_view keyword);

// The text of a reply after its code and the blank (from its fifth character on): the Base64 of a challenge.
std::string_view ReplyChallenge(std::string_view reply);

}  // namespace kestrova
