#include "platform/shell/registry_file.h"

#include <cwctype>
#include <sstream>

#include "platform/base/text.h"

namespace kestrova {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// A word of the file: never empty ("-" stands for the empty text), never a bare "-" otherwise.
std::string Encode(std::string_view text) {
    if (text.empty()) return "-";
    if (text == "-") return "%2d";
    std::string out;
    for (unsigned char c : text) {
        if (c <= 0x20 || c == 0x7F || c == '%' || c == '[' || c == ']') {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        } else {
            out.push_back(char(c));
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Decode(std::string_view text, std::string& out) {
    out.clear();
    if (text == "-") return true;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(char(hi << 4 | lo));
        i += 2;
    }
    return true;
}

bool DecodeHex(std::string_view text, std::vector<uint8_t>& out) {
    if (text == "-") {  // an empty binary value
        out.clear();
        return true;
    }
    if (text.size() % 2) return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(uint8_t(hi << 4 | lo));
    }
    return true;
}

// Splits "a b c" into its three words; false when there are not exactly `count`.
bool Words(const std::string& line, size_t count, std::vector<std::string>& words) {
    std::istringstream in(line);
    words.clear();
    for (std::string w; in >> w;) words.push_back(w);
    return words.size() == count;
}

bool ParseValue(const std::string& line, RegistryValue& value) {
    std::vector<std::string> w;
    if (!Words(line, 3, w)) return false;
    std::string name, text;
    if (!Decode(w[1], name)) return false;
    value.name = FromUtf8(name);
    if (w[0] == "dword") {
        char* end = nullptr;
        const unsigned long long v = std::strtoull(w[2].c_str(), &end, 10);
        if (*end || v > 0xFFFFFFFFull || w[2][0] == '-') return false;
        value.type = kRegistryDword;
        value.data = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        return true;
    }
    if (w[0] == "text") {
        if (!Decode(w[2], text)) return false;
        value.type = kRegistryText;
        value.data.assign(text.begin(), text.end());
        return true;
    }
    if (w[0] == "binary") {
        value.type = kRegistryBinary;
        return DecodeHex(w[2], value.data);
    }
    return false;
}

}  // namespace

std::wstring FoldRegistryName(std::wstring_view name) {
    std::wstring folded;
    for (wchar_t c : name) folded.push_back(wchar_t(std::towlower(wint_t(c))));
    return folded;
}

RegistryTree ParseRegistryFile(const std::vector<uint8_t>& bytes) {
    RegistryTree tree;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    RegistryKeyData* key = nullptr;
    std::wstring keyId;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[') {
            key = nullptr;
            std::vector<std::string> w;
            std::string path;
            if (line.back() != ']' || !Words(line.substr(1, line.size() - 2), 2, w) || !Decode(w[1], path))
                continue;
            const std::wstring id = FromUtf8(w[0]) + L"\\" + FoldRegistryName(FromUtf8(path));
            key = &tree[id];
            key->path = FromUtf8(path);
            continue;
        }
        RegistryValue value;
        if (key && ParseValue(line, value)) key->values[FoldRegistryName(value.name)] = std::move(value);
    }
    return tree;
}

std::string FormatRegistryFile(const RegistryTree& tree) {
    std::string out = "# Kestrova registry store\n";
    for (const auto& [id, key] : tree) {
        const std::string root = ToUtf8(std::wstring_view(id).substr(0, id.find(L'\\')));
        out += "[" + root + " " + Encode(ToUtf8(key.path)) + "]\n";
        for (const auto& [folded, value] : key.values) {
            const std::string name = Encode(ToUtf8(value.name));
            if (value.type == kRegistryDword) {
                const uint32_t v = uint32_t(value.data[0]) | uint32_t(value.data[1]) << 8 |
                                   uint32_t(value.data[2]) << 16 | uint32_t(value.data[3]) << 24;
                out += "dword " + name + " " + std::to_string(v) + "\n";
            } else if (value.type == kRegistryText) {
                out +=
                    "text " + name + " " + Encode(std::string(value.data.begin(), value.data.end())) + "\n";
            } else {
                std::string hex;
                for (uint8_t b : value.data) {
                    hex.push_back(kHex[b >> 4]);
                    hex.push_back(kHex[b & 15]);
                }
                out += "binary " + name + " " + (hex.empty() ? "-" : hex) + "\n";
            }
        }
    }
    return out;
}

}  // namespace kestrova
