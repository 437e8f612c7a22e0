#pragma once
// The e-mail settings of one device as the alarm and e-mail windows edit them, and what those windows know
// about them: the three mail providers the e-mail window offers, and the checks a record passes before the
// device takes it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// Room of each text field: 50 characters are used, and the terminator.
inline constexpr int kEmailTextCapacity = 52;
inline constexpr int kEmailTextChars = 50;

// The device keeps the same values, with its texts as UTF-8 of at most 51 bytes (kMaxSmtpTextBytes).
struct EmailSettings {
    wchar_t host[kEmailTextCapacity] = {};  // SMTP server name or address
    int32_t port = 0;
    int32_t protocol = 0;  // 0 TLS (STARTTLS on a plain connection), 1 SSL (TLS from the first byte)
    wchar_t user[kEmailTextCapacity] = {};
    wchar_t password[kEmailTextCapacity] = {};
    wchar_t sender[kEmailTextCapacity] = {};
    wchar_t recipient[kEmailTextCapacity] = {};
};

inline constexpr int32_t kSmtpTls = 0;
inline constexpr int32_t kSmtpSsl = 1;

// Copies at most 50 characters of `text` into a field, terminated.
void SetEmailText(wchar_t (&field)[kEmailTextCapacity], std::wstring_view text);

// A mail provider whose server, port and protocol the e-mail window fills in.
struct EmailProvider {
    const wchar_t* name;
    const wchar_t* host;
    int32_t port;
    int32_t protocol;
};
inline constexpr EmailProvider kEmailProviders[] = {
    {L"Gmail", L"smtp.gmail.com", 587, kSmtpTls},
    {L"Yahoo", L"smtp.mail.yahoo.com", 465, kSmtpSsl},
    {L"Hotmail", L"smtp-mail.outlook.com", 25, kSmtpTls},
};
// The provider value of any other server.
inline constexpr int kOtherProvider = 3;

// The provider whose host (exactly, case and all), port and protocol the record has; else kOtherProvider.
int MatchingProvider(const EmailSettings& settings);

// The six texts of the e-mail window, as typed.
struct EmailFields {
    std::wstring host, port, user, password, sender, recipient;
};
// Why the fields cannot be stored, as the message that says so; nothing when they can. Every field is
// needed; the port is a number from 1 to 65535; each text must fit the device's 51 bytes of UTF-8, which
// 50 characters beyond plain ASCII do not.
std::optional<std::wstring> CheckEmailFields(const EmailFields& fields);
// The port of fields that passed the check.
int32_t PortOf(const EmailFields& fields);

}  // namespace kestrova
