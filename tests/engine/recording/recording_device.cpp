#include "tests/engine/recording/recording_device.h"

#include <algorithm>
#include <filesystem>

#include "platform/base/text.h"

namespace kestrova::testing {

std::vector<std::string> RecordedFiles(const std::wstring& storage, const std::wstring& kind) {
    std::vector<std::string> files;
    const std::filesystem::path root = ToUtf8(storage + kind);
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file()) files.push_back(std::filesystem::relative(it->path(), root).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace kestrova::testing
