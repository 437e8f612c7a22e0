#include "tests/e2e/storage_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "tests/e2e/desktop.h"

namespace kestrova::e2e {

std::vector<StoredFile> FilesBelow(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<StoredFile> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        struct stat st {};
        if (stat(it->path().c_str(), &st) != 0) continue;
        const auto changed =
            std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec);
        files.push_back({it->path().string(), it->path().filename().string(),
                         it->path().parent_path().filename().string(),
                         std::chrono::system_clock::time_point(
                             std::chrono::duration_cast<std::chrono::system_clock::duration>(changed))});
    }
    std::sort(files.begin(), files.end(),
              [](const StoredFile& a, const StoredFile& b) { return a.modified < b.modified; });
    return files;
}

VideoProbe ProbeVideo(const std::string& path) {
    std::string text;
    RunTool({"ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
             "stream=codec_name,width,height,nb_frames,nb_read_frames", "-of", "default=noprint_wrappers=1",
             path},
            "", &text);
    VideoProbe probe;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
        const long number = std::atol(value.c_str());
        if (name == "codec_name") probe.codec = value;
        if (name == "width") probe.width = int(number);
        if (name == "height") probe.height = int(number);
        if (name == "nb_frames" && value != "N/A") probe.announcedFrames = number;
        if (name == "nb_read_frames" && value != "N/A") probe.readFrames = number;
    }
    return probe;
}

}  // namespace kestrova::e2e
