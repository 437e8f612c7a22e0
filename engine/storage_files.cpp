#include "engine/storage_files.h"

#include <cerrno>
#include <cwchar>
#include <mutex>

#include "platform/base/files.h"
#include "platform/base/log.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

// Makes `folder` (one that exists already is fine). A folder that cannot be made is logged once, not at every
// photo of an alarm, until making it works again.
bool MakeFolder(const std::wstring& folder) {
    static std::mutex reported;
    static std::wstring failing;
    const bool made = CreateFolder(folder);
    const int error = errno;
    std::lock_guard<std::mutex> hold(reported);
    if (made) {
        if (failing == folder) failing.clear();
    } else if (failing != folder) {
        failing = folder;
        LogError("storage", "cannot create the folder " + ToUtf8(folder) + ": " + SystemErrorText(error));
    }
    return made;
}

std::wstring ThreeTwoDigitFields(int a, int b, int c) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%02d-%02d-%02d", a, b, c);  // fits: the fields are calendar values
    return text;
}

}  // namespace

std::wstring DateText(const LocalTime& time) {
    return ThreeTwoDigitFields(time.year % 100, time.month, time.day);
}

std::wstring TimeText(const LocalTime& time) {
    return ThreeTwoDigitFields(time.hour, time.minute, time.second);
}

std::wstring MakeDateFolder(std::wstring_view storageFolder, std::wstring_view kind, const LocalTime& time) {
    const std::wstring storage(storageFolder);
    const std::wstring kindFolder = storage + std::wstring(kind) + L"/";
    const std::wstring dateFolder = kindFolder + DateText(time);
    // The files that go there then fail with their own report.
    if (MakeFolder(storage) && MakeFolder(kindFolder)) MakeFolder(dateFolder);
    return dateFolder;
}

std::wstring FirstFreeFileName(std::wstring_view dateFolder, const LocalTime& time, std::wstring_view suffix,
                               std::wstring_view extension) {
    const std::wstring stem = std::wstring(dateFolder) + L"/" + DateText(time) + L" " + TimeText(time) + L" ";
    for (int number = 0; number <= 999; ++number) {
        wchar_t digits[8];
        std::swprintf(digits, 8, L"%03d", number);  // three digits always fit
        std::wstring path = stem + digits + std::wstring(suffix) + L"." + std::wstring(extension);
        if (!FileExists(path)) return path;
    }
    return {};
}

}  // namespace kestrova
