#include "app/windows/email_settings.h"

#include <algorithm>
#include <cwchar>

#include "engine/device.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

constexpr int32_t kLowestPort = 1, kHighestPort = 65535;
constexpr size_t kLongestPortText = 5;

constexpr wchar_t kMissing[] = L"Some required information is missing or incomplete.";
constexpr wchar_t kBadPort[] = L"The port must be a number from 1 to 65535.";

// The port text's value, or nothing when it is not a number the edit could hold.
std::optional<int32_t> PortValue(std::wstring_view text) {
    if (text.empty() || text.size() > kLongestPortText) return std::nullopt;
    int32_t value = 0;
    for (wchar_t ch : text) {
        if (ch < L'0' || ch > L'9') return std::nullopt;
        value = value * 10 + (ch - L'0');
    }
    return value;
}

std::wstring TooLong(const wchar_t* field) {
    return std::wstring(L"The text of \"") + field + L"\" is too long. It may take " +
           std::to_wstring(kMaxSmtpTextBytes) +
           L" bytes, and each letter with an accent or of another alphabet takes two to four of them.";
}

}  // namespace

void SetEmailText(wchar_t (&field)[kEmailTextCapacity], std::wstring_view text) {
    const size_t length = std::min(text.size(), size_t(kEmailTextChars));
    std::wmemcpy(field, text.data(), length);
    field[length] = L'\0';
}

int MatchingProvider(const EmailSettings& settings) {
    for (int i = 0; i < kOtherProvider; ++i) {
        const EmailProvider& provider = kEmailProviders[i];
        if (std::wcscmp(settings.host, provider.host) == 0 && settings.port == provider.port &&
            settings.protocol == provider.protocol)
            return i;
    }
    return kOtherProvider;
}

std::optional<std::wstring> CheckEmailFields(const EmailFields& f) {
    for (const std::wstring* text : {&f.host, &f.port, &f.user, &f.password, &f.sender, &f.recipient})
        if (text->empty()) return kMissing;
    const std::optional<int32_t> port = PortValue(f.port);
    if (!port || *port < kLowestPort || *port > kHighestPort) return kBadPort;
    const std::pair<const std::wstring*, const wchar_t*> texts[] = {
        {&f.host, L"Hostname"}, {&f.user, L"SMTP User"},      {&f.password, L"SMTP Password"},
        {&f.sender, L"Sender"}, {&f.recipient, L"Recipient"},
    };
    for (const auto& [text, name] : texts)
        if (ToUtf8(*text).size() > kMaxSmtpTextBytes) return TooLong(name);
    return std::nullopt;
}

int32_t PortOf(const EmailFields& fields) {
    return PortValue(fields.port).value_or(0);
}

}  // namespace kestrova
