#include "app/profile_file.h"

#include <algorithm>
#include <limits>

#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The name of a "[name]" line; nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    const size_t close = line.find(']');
    if (line.empty() || line[0] != '[' || close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// The key of a "key=value" line; nothing for comments and lines without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    const size_t equals = line.find('=');
    if (trimmed.empty() || trimmed[0] == ';' || equals == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, equals));
}

}  // namespace

bool ProfileFile::Read(std::wstring_view path) {
    lines_.clear();
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return !FileExists(path);
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte-order mark from an editor
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return true;
}

bool ProfileFile::Write(std::wstring_view path) const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\n";
    return WriteFileAtomic(path, text.data(), text.size(), Durability::SyncToDisk);
}

ProfileFile::Place ProfileFile::Find(std::string_view section, std::string_view key) const {
    Place place;
    place.line = lines_.size();
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (std::optional<std::string_view> name = SectionName(lines_[i])) {
            if (inSection) break;  // only the first section of that name counts
            inSection = SameName(*name, section);
            if (inSection) {
                place.sectionFound = true;
                place.line = i + 1;
            }
            continue;
        }
        if (!inSection) continue;
        std::optional<std::string_view> name = KeyName(lines_[i]);
        if (name && SameName(*name, key)) {
            place.keyFound = true;
            place.line = i;
            return place;
        }
        if (!Trim(lines_[i]).empty()) place.line = i + 1;
    }
    return place;
}

std::string_view ProfileFile::ValueOf(size_t line) const {
    const std::string_view text = lines_[line];
    std::string_view value = Trim(text.substr(text.find('=') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

std::optional<std::wstring> ProfileFile::GetString(std::string_view section, std::string_view key) const {
    const Place place = Find(section, key);
    if (!place.keyFound) return std::nullopt;
    return FromUtf8(ValueOf(place.line));
}

int32_t ProfileFile::GetInt(std::string_view section, std::string_view key, int32_t missing) const {
    const Place place = Find(section, key);
    if (!place.keyFound) return missing;
    const std::string_view value = ValueOf(place.line);
    size_t i = 0;
    const bool negative = !value.empty() && value[0] == '-';
    if (!value.empty() && (value[0] == '-' || value[0] == '+')) ++i;
    int64_t number = 0;
    constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = std::min(number * 10 + (value[i] - '0'), kLimit);
    }
    if (negative) return int32_t(-number);
    return int32_t(std::min<int64_t>(number, std::numeric_limits<int32_t>::max()));
}

bool ProfileFile::SetString(std::string_view section, std::string_view key, std::wstring_view value) {
    if (value.find_first_of(L"\r\n") != std::wstring_view::npos) return false;
    const std::string line = std::string(key) + "=" + ToUtf8(value);
    const Place place = Find(section, key);
    if (place.keyFound) {
        lines_[place.line] = line;
    } else if (place.sectionFound) {
        lines_.insert(lines_.begin() + std::ptrdiff_t(place.line), line);
    } else {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(line);
    }
    return true;
}

}  // namespace kestrova
