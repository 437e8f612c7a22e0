#include "platform/base/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/base/text.h"

namespace kestrova {
namespace {

std::wstring EnvFolder(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v) return {};
    return WithTrailingSlash(FromUtf8(v));
}

// Reads XDG_DOCUMENTS_DIR="$HOME/..." from the user-dirs file.
std::wstring XdgDocumentsFolder(const std::wstring& home, const std::wstring& configHome) {
    std::ifstream in(NativePath(configHome + L"user-dirs.dirs"));
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        std::wstring path = FromUtf8(value);
        if (path.rfind(L"$HOME", 0) == 0) path = home + path.substr(path.size() > 5 && path[5] == L'/' ? 6 : 5);
        if (path.empty() || path[0] != L'/') return {};
        return WithTrailingSlash(path);
    }
    return {};
}

std::wstring ConfigHome() {
    std::wstring xdg = EnvFolder("XDG_CONFIG_HOME");
    return xdg.empty() ? HomeFolder() + L".config/" : xdg;
}

}  // namespace

std::wstring HomeFolder() {
    std::wstring home = EnvFolder("HOME");
    if (!home.empty()) return home;
    if (passwd* pw = getpwuid(getuid())) return WithTrailingSlash(FromUtf8(pw->pw_dir));
    return L"/tmp/";
}

std::string NativePath(std::wstring_view path) { return ToUtf8(path); }

bool CreateFolder(std::wstring_view path) {
    std::string p = NativePath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (mkdir(p.c_str(), 0755) == 0) return true;
    return errno == EEXIST && IsFolder(path);
}

bool CreateFolderTree(std::wstring_view path) {
    std::wstring p(path);
    for (size_t i = 1; i <= p.size(); ++i) {
        if (i == p.size() || p[i] == L'/') {
            if (!CreateFolder(std::wstring_view(p).substr(0, i))) return false;
        }
    }
    return true;
}

bool FileExists(std::wstring_view path) {
    struct stat st{};
    return stat(NativePath(path).c_str(), &st) == 0;
}

bool IsFolder(std::wstring_view path) {
    struct stat st{};
    return stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(std::wstring_view path) { return unlink(NativePath(path).c_str()) == 0; }

bool ReadWholeFile(std::wstring_view path, std::vector<uint8_t>& out) {
    int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    out.clear();
    uint8_t buf[65536];
    bool ok = true;
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) {
            out.insert(out.end(), buf, buf + n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ok = false;
            break;
        }
    }
    close(fd);
    return ok;
}

bool WriteFileAtomic(std::wstring_view path, const void* data, size_t size, Durability durability) {
    static std::atomic<unsigned> counter{0};
    std::string target = NativePath(path);
    std::string temp = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    size_t left = size;
    bool ok = true;
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    if (ok && durability == Durability::SyncToDisk) ok = fdatasync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (ok && rename(temp.c_str(), target.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;
}

std::wstring FolderOf(std::wstring_view path) {
    size_t slash = path.rfind(L'/');
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring WithTrailingSlash(std::wstring_view folder) {
    std::wstring f(folder);
    if (f.empty() || f.back() != L'/') f.push_back(L'/');
    return f;
}

std::wstring ExecutablePath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    return FromUtf8(std::string_view(buf, size_t(n)));
}

std::wstring ProgramDataFolder() {
    std::wstring env = EnvFolder("KESTROVA_DATA_DIR");
    if (!env.empty()) return env;
    std::wstring exeFolder = FolderOf(ExecutablePath());
    std::wstring installed = FolderOf(exeFolder.substr(0, exeFolder.size() - 1)) + L"share/kestrova/";
    if (IsFolder(installed)) return installed;
    return exeFolder;
}

std::wstring ConfigFolder() {
    std::wstring folder = EnvFolder("KESTROVA_CONFIG_DIR");
    if (folder.empty()) folder = ConfigHome() + L"kestrova/";
    CreateFolderTree(folder);
    return folder;
}

std::wstring DocumentsFolder() {
    std::wstring env = EnvFolder("KESTROVA_DOCUMENTS_DIR");
    if (!env.empty()) return env;
    std::wstring home = HomeFolder();
    std::wstring xdg = XdgDocumentsFolder(home, ConfigHome());
    return xdg.empty() ? home + L"Documents/" : xdg;
}

}  // namespace kestrova
