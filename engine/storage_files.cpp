#include "engine/storage_files.h"

#include <cwchar>

#include "platform/base/files.h"

namespace kestrova {
namespace {

std::wstring ThreeTwoDigitFields(int a, int b, int c) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%02d-%02d-%02d", a, b, c);
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
    CreateFolder(storage);
    CreateFolder(kindFolder);
    CreateFolder(dateFolder);
    return dateFolder;
}

std::wstring FirstFreeFileName(std::wstring_view dateFolder, const LocalTime& time, std::wstring_view suffix,
                               std::wstring_view extension) {
    const std::wstring stem = std::wstring(dateFolder) + L"/" + DateText(time) + L" " + TimeText(time) + L" ";
    for (int number = 0; number <= 999; ++number) {
        wchar_t digits[8];
        std::swprintf(digits, 8, L"%03d", number);
        std::wstring path = stem + digits + std::wstring(suffix) + L"." + std::wstring(extension);
        if (!FileExists(path)) return path;
    }
    return {};
}

}  // namespace kestrova
