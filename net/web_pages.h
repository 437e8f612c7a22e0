#pragma once
// The pages of the streaming web site: the index with every published device, the page of one device, the
// "Access Denied" and "Not Found" pages, and the stylesheet. Each page is one line of XHTML 1.0 Transitional.

#include <string>
#include <string_view>

namespace kestrova {

// The index page: one linked 320 x 240 picture per published device 1..count, refreshed once a second.
// Grows with the count: no number of devices cuts it short.
std::string BuildIndexPage(int count);
// The page of device `number`: one 668 x 501 picture, refreshed once a second.
std::string BuildDevicePage(int number);
// Sent with the status 401.
const std::string& AccessDeniedPage();
// Sent with the status 404.
const std::string& NotFoundPage();
// "/global.css".
std::string_view StyleSheet();

}  // namespace kestrova
