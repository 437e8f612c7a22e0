#include "tests/e2e/browser.h"

#include <filesystem>

#include "tests/e2e/desktop.h"

namespace kestrova::e2e {

std::string BrowseToPixels(const std::string& url, const std::string& folder, int width, int height,
                           int settleMs) {
    const std::string shot = folder + "page.png";
    // A browser that shows nothing writes no screenshot: none may be left from an earlier page.
    std::filesystem::remove(shot);
    RunTool({kChromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
             "--no-first-run", "--no-proxy-server",
             "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE localhost, EXCLUDE 127.0.0.1",
             "--user-data-dir=" + folder + "profile", "--hide-scrollbars",
             "--window-size=" + std::to_string(width) + "," + std::to_string(height),
             "--virtual-time-budget=" + std::to_string(settleMs), "--screenshot=" + shot, url},
            "");
    std::string rgb;
    RunTool({"ffmpeg", "-v", "error", "-i", shot, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"}, "", &rgb);
    return rgb.size() == size_t(width) * size_t(height) * 3 ? rgb : std::string();
}

}  // namespace kestrova::e2e
