#include "tools/respack/manifest.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <set>
#include <sstream>
#include <utility>

namespace respack {
namespace {

struct Kind {
    std::string_view name;
    std::string_view enumerator;
};
// In the order of ResourceKind.
constexpr Kind kKinds[] = {{"bitmap", "Bitmap"}, {"icon", "Icon"}, {"data", "Data"}, {"menu", "Menu"}};

int KindIndex(std::string_view kind) {
    for (size_t i = 0; i < std::size(kKinds); ++i) {
        if (kKinds[i].name == kind) return int(i);
    }
    return -1;
}

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool ParseNumber(std::string_view text, int* number) {
    const char* end = text.data() + text.size();
    auto [rest, error] = std::from_chars(text.data(), end, *number);
    return error == std::errc() && rest == end && *number >= 1 && *number <= 65535;
}

// "37x148"
bool ParseSize(std::string_view text, int* width, int* height) {
    const size_t x = text.find('x');
    return x != std::string_view::npos && ParseNumber(text.substr(0, x), width) &&
           ParseNumber(text.substr(x + 1), height);
}

}  // namespace

std::string_view KindEnumerator(std::string_view kind) {
    const int index = KindIndex(kind);
    return index < 0 ? std::string_view() : kKinds[index].enumerator;
}

void SortForLookup(std::vector<ManifestEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const ManifestEntry& a, const ManifestEntry& b) {
        return std::make_pair(KindIndex(a.kind), a.id) < std::make_pair(KindIndex(b.kind), b.id);
    });
}

std::vector<ManifestEntry> ParseManifest(std::string_view text, std::vector<std::string>& errors) {
    std::vector<ManifestEntry> entries;
    std::set<std::pair<std::string, int>> seen;
    int number = 0;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        ++number;
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '#') continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        ManifestEntry entry;
        const bool bitmap = words[0] == "bitmap";
        if (words.size() != (bitmap ? 4u : 3u)) {
            errors.push_back(
                where + (bitmap ? "expected \"bitmap id WIDTHxHEIGHT file\"" : "expected \"kind id file\""));
        } else if (KindEnumerator(words[0]).empty()) {
            errors.push_back(where + "unknown kind \"" + words[0] + "\"");
        } else if (!ParseNumber(words[1], &entry.id)) {
            errors.push_back(where + "id \"" + words[1] + "\" is not a number from 1 to 65535");
        } else if (bitmap && !ParseSize(words[2], &entry.width, &entry.height)) {
            errors.push_back(where + "size \"" + words[2] + "\" is not WIDTHxHEIGHT, each from 1 to 65535");
        } else if (!seen.insert({words[0], entry.id}).second) {
            errors.push_back(where + words[0] + " " + words[1] + " is listed twice");
        } else {
            entry.kind = words[0];
            entry.file = words.back();
            entry.line = number;
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

}  // namespace respack
