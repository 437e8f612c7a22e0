#include "app/windows/stream_settings.h"

#include <iterator>

#include "platform/base/text.h"

namespace kestrova {
namespace {

constexpr int32_t kLowestPort = 1, kHighestPort = 65535;
constexpr size_t kLongestPortText = 5;
constexpr wchar_t kFrameSubfolder[] = L"Server/";
static_assert(sizeof(WebServerSettings::bindAddress) > kStreamAddressBytes);
static_assert(sizeof(WebServerSettings::password) > kStreamPasswordBytes);

constexpr wchar_t kBadPort[] = L"The port must be a number from 1 to 65535.";
constexpr wchar_t kLongPassword[] =
    L"The password is too long. It may take 20 bytes, and each letter with an accent or of another alphabet "
    L"takes two to four of them.";

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

}  // namespace

std::optional<std::wstring> CheckStreamFields(const StreamFields& fields) {
    const std::optional<int32_t> port = PortValue(fields.port);
    if (!port || *port < kLowestPort || *port > kHighestPort) return kBadPort;
    if (ToUtf8(fields.password).size() > kStreamPasswordBytes) return kLongPassword;
    return std::nullopt;
}

std::unique_ptr<WebServerSettings> MakeStreamSettings(const StreamFields& fields,
                                                      const StreamingSetup& setup) {
    auto settings = std::make_unique<WebServerSettings>();
    settings->publishedCount = 0;
    ToUtf8Bounded(fields.address, settings->bindAddress, kStreamAddressBytes);
    ToUtf8Bounded(fields.password, settings->password, kStreamPasswordBytes);
    CopyWide(setup.storageFolder + kFrameSubfolder, settings->frameFolder,
             std::size(settings->frameFolder) - 1);
    settings->port = PortValue(fields.port).value_or(0);
    settings->reserved1 = 0;
    settings->reserved2 = 1;
    settings->notifyWindow = setup.notifyWindow;
    settings->notifyMessage = kWebServerNotifyMessage;
    return settings;
}

}  // namespace kestrova
