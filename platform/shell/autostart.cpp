#include "platform/shell/autostart.h"

#include <cstdlib>
#include <vector>

#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

// Our own key in the entry: the command line exactly as it was given, so it reads back unchanged.
constexpr std::string_view kCommandKey = "X-Kestrova-CommandLine=";

std::wstring EntryPath(std::wstring_view name) {
    std::wstring file;
    for (wchar_t c : name) {
        const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                           c == L'-' || c == L'_' || c == L'.';
        file.push_back(plain ? c : L'_');
    }
    return AutostartFolder() + file + L".desktop";
}

// Splits a command line into the program and its arguments. An unquoted program path with blanks is taken
// as far as the shortest prefix that names an existing file.
std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> parts;
    size_t pos = 0;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        parts.push_back(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        pos = close == std::string::npos ? line.size() : close + 1;
    } else {
        size_t end = FileExists(FromUtf8(line)) ? std::string::npos : line.find(' ');
        for (size_t blank = line.find(' '); blank != std::string::npos; blank = line.find(' ', blank + 1)) {
            if (FileExists(FromUtf8(line.substr(0, blank)))) {
                end = blank;
                break;
            }
        }
        parts.push_back(line.substr(0, end));
        pos = end == std::string::npos ? line.size() : end;
    }
    std::string arg;
    bool inQuotes = false, inArg = false;
    for (; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            inQuotes = !inQuotes;
            inArg = true;
        } else if (c == ' ' && !inQuotes) {
            if (inArg) parts.push_back(arg);
            arg.clear();
            inArg = false;
        } else {
            arg.push_back(c);
            inArg = true;
        }
    }
    if (inArg) parts.push_back(arg);
    return parts;
}

// One argument of an Exec line: quoted when it holds a reserved character; "%" doubled in any case.
std::string ExecArgument(const std::string& arg) {
    const bool quote = arg.empty() || arg.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string out = quote ? "\"" : "";
    for (char c : arg) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out.push_back('\\');
        out.push_back(c);
        if (c == '%') out.push_back('%');
    }
    if (quote) out.push_back('"');
    return out;
}

// The escapes of a string value in a desktop entry.
std::string EscapeValue(const std::string& value) {
    std::string out;
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

std::string UnescapeValue(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out.push_back(value[i]);
            continue;
        }
        switch (value[++i]) {
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 's':
                out.push_back(' ');
                break;
            default:
                out.push_back(value[i]);
        }
    }
    return out;
}

}  // namespace

std::wstring AutostartFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return WithTrailingSlash(FromUtf8(xdg)) + L"autostart/";
    const char* home = std::getenv("HOME");
    return WithTrailingSlash(FromUtf8(home && *home ? home : "/tmp")) + L".config/autostart/";
}

bool WriteAutostartEntry(std::wstring_view name, std::wstring_view commandLine) {
    const std::string line = ToUtf8(commandLine);
    std::string exec;
    for (const std::string& part : SplitCommandLine(line))
        exec += (exec.empty() ? "" : " ") + ExecArgument(part);
    const std::string entry = "[Desktop Entry]\nType=Application\nName=" + EscapeValue(ToUtf8(name)) +
                              "\nExec=" + EscapeValue(exec) + "\nTerminal=false\n" +
                              std::string(kCommandKey) + EscapeValue(line) + "\n";
    return CreateFolderTree(AutostartFolder()) &&
           WriteFileAtomic(EntryPath(name), entry.data(), entry.size());
}

std::optional<std::wstring> ReadAutostartEntry(std::wstring_view name) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(EntryPath(name), bytes)) return std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line.substr(0, kCommandKey.size()) == kCommandKey)
            return FromUtf8(UnescapeValue(line.substr(kCommandKey.size())));
        start = end + 1;
    }
    return std::nullopt;
}

bool RemoveAutostartEntry(std::wstring_view name) {
    return RemoveFile(EntryPath(name));
}

}  // namespace kestrova
