#pragma once
// What the program leaves in its storage folder, read back from outside: the photos and recordings of its
// alarms, with their times.

#include <chrono>
#include <string>
#include <vector>

namespace kestrova::e2e {

struct StoredFile {
    std::string path;    // the whole path
    std::string name;    // the file's name
    std::string folder;  // the name of the folder it is in
    std::chrono::system_clock::time_point modified;
};

// The files under `folder` (every date folder below it), oldest change first.
std::vector<StoredFile> FilesBelow(const std::string& folder);

// What ffprobe reads of a video file: the frames its header announces and the frames it could decode.
struct VideoProbe {
    std::string codec;
    int width = 0, height = 0;
    long announcedFrames = -1;
    long readFrames = -1;
};
VideoProbe ProbeVideo(const std::string& path);

}  // namespace kestrova::e2e
