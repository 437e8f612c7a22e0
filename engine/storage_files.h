#pragma once
// Names of the files a device writes below its storage folder: "<storage><Kind>/<yy-MM-dd>/<yy-MM-dd>
// <HH-mm-ss> <nnn><suffix>.<ext>", the number being the first from 000 whose file does not exist yet.

#include <string>
#include <string_view>

#include "platform/base/clock.h"

namespace kestrova {

std::wstring DateText(const LocalTime& time);  // "yy-MM-dd"
std::wstring TimeText(const LocalTime& time);  // "HH-mm-ss", 24-hour

// Creates the storage folder, its subfolder `kind` (e.g. L"Photos") and the date folder below it (folders
// that exist already are fine), and returns the date folder without a trailing "/". A folder that cannot be
// made is logged.
std::wstring MakeDateFolder(std::wstring_view storageFolder, std::wstring_view kind, const LocalTime& time);

// The first "<dateFolder>/<date> <time> <nnn><suffix>.<extension>" for nnn from 000 to 999 that does not
// exist; empty when all of them do.
std::wstring FirstFreeFileName(std::wstring_view dateFolder, const LocalTime& time, std::wstring_view suffix,
                               std::wstring_view extension);

}  // namespace kestrova
