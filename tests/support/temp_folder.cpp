#include "tests/support/temp_folder.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "platform/base/text.h"

namespace kestrova {

TempFolder::TempFolder() {
    const char* base = std::getenv("KESTROVA_TEST_TMP");
    std::string root = base && *base ? base : "/tmp";
    std::filesystem::create_directories(root);
    std::string templ = root + "/kestrova-XXXXXX";
    // Without a folder of its own the test cannot run: never fall back to a shared one, which the
    // destructor would empty.
    if (!mkdtemp(templ.data())) throw std::runtime_error("cannot make a temporary folder under " + root);
    path_ = FromUtf8(templ) + L"/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(native(), ec);
}

std::string TempFolder::native() const { return ToUtf8(path_); }

std::vector<std::string> TempFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(native())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}

ScopedEnv::~ScopedEnv() {
    if (old_) {
        setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

}  // namespace kestrova
