#pragma once
// Test helpers: a temporary folder removed with its content, and an environment variable set for a scope.

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending in "/".
    const std::wstring& path() const { return path_; }
    std::string native() const;
    // The names in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::wstring path_;
};

class ScopedEnv {
public:
    // Sets `name` to `value` (nullptr unsets it) until the end of the scope.
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace kestrova
