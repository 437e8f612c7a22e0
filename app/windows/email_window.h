#pragma once
// The e-mail window (class BKV2EmailWndClass, caption "Email"): the SMTP server, port and protocol, the
// account and the two addresses of a device's alarm e-mail. A provider button fills server, port and
// protocol for three well-known providers, or leaves them to the user ("Other"). Only the alarm window
// opens it, on a copy that it takes back after OK.

#include <cstdint>

#include "app/windows/email_settings.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kEmailWindowClass[] = L"BKV2EmailWndClass";

uint16_t RegisterEmailWindowClass();
// Edits `settings` in place: 1 after OK with the record written, 0 with the record as it was. OK refuses,
// with a message, fields that are empty, a port outside 1 to 65535, or a text too long for the device.
int ShowEmailWindow(HWND owner, EmailSettings* settings);

}  // namespace kestrova
