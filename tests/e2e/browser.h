#pragma once
// A real web browser, headless Chromium, kept on loopback: no proxy, every host but the loopback ones
// unresolvable, no background traffic, a profile of its own.

#include <string>

namespace kestrova::e2e {

inline constexpr const char* kChromium = "/usr/bin/chromium";

// The page at `url` as the browser shows it after about `settleMs` of the page's own time, as RGB bytes of
// `width` x `height` pixels (empty when the browser showed nothing or the decode failed). `folder` (ending
// in "/") takes the profile and the screenshot, which stays there.
std::string BrowseToPixels(const std::string& url, const std::string& folder, int width, int height,
                           int settleMs);

}  // namespace kestrova::e2e
