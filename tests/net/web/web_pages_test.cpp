#include "net/web_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

constexpr const char* kHead =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\""
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">"
    "<head><link rel=\"stylesheet\" type=\"text/css\" href=\"global.css\"/><title>Kestrova</title></head>";
constexpr const char* kBody = "<body onload=\"setInterval(function(){ReloadFrames()}, 1000)\">";
constexpr const char* kHeader =
    "<div id=\"Header\"><h1>Kestrova</h1><p>Remote Monitoring</p></div>"
    "<div id=\"Nav\"><ul><li><a href=\"index.php\">Home</a></li>";
constexpr const char* kFooter = "</div><div id=\"Footer\"><p>Kestrova</p></div>";
constexpr const char* kScript =
    "<script type=\"text/javascript\">function ReloadFrames(){var d = new Date();var t = d.getTime();";

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(WebPages, IndexPageHoldsOneRefreshedPicturePerDevice) {
    std::string expected = std::string(kHead) + kBody + kHeader + "</ul></div><div id=\"Container\">";
    for (int i = 1; i <= 3; ++i) {
        std::string n = std::to_string(i);
        expected += "<a href=\"device.php?id=" + n + "\"><img id=\"dev" + n + "\" src=\"" + n +
                    ".jpg\" width=\"320\" height=\"240\"/></a>";
    }
    expected += std::string(kFooter) + kScript;
    for (int i = 1; i <= 3; ++i) {
        std::string n = std::to_string(i);
        expected += "document.getElementById(\"dev" + n + "\").src = \"" + n + ".jpg?\" + t;";
    }
    expected += "}</script></body></html>";
    EXPECT_EQ(BuildIndexPage(3), expected);
    EXPECT_EQ(BuildIndexPage(0).find("<img"), std::string::npos);
}

TEST(WebPages, IndexPageGrowsPastAnyFixedBufferWithoutBeingCut) {
    // Each device costs 129 bytes plus five times its number's digits.
    const std::string one = BuildIndexPage(1);
    const std::string many = BuildIndexPage(250);
    size_t perDevice = 0;
    for (int i = 2; i <= 250; ++i) perDevice += 129 + 5 * std::to_string(i).size();
    EXPECT_EQ(many.size(), one.size() + perDevice);
    EXPECT_EQ(Count(many, "<img id=\"dev"), 250u);
    EXPECT_NE(
        many.find("document.getElementById(\"dev250\").src = \"250.jpg?\" + t;}</script></body></html>"),
        std::string::npos);
    EXPECT_EQ(many.find('\n'), std::string::npos);
}

TEST(WebPages, DevicePageShowsTheNumberAndOneLargePicture) {
    const std::string expected =
        std::string(kHead) + kBody + kHeader + "<li><p>Device 12</p></li></ul></div><div id=\"Container\">" +
        "<img id=\"dev12\" src=\"12.jpg\" width=\"668\" height=\"501\"/>" + kFooter + kScript +
        "document.getElementById(\"dev12\").src = \"12.jpg?\" + t;}</script></body></html>";
    EXPECT_EQ(BuildDevicePage(12), expected);
}

TEST(WebPages, MessagePagesHaveNoScript) {
    const std::string start = std::string(kHead) + "<body>" + kHeader + "</ul></div><div id=\"Container\">";
    const std::string end = std::string(kFooter) + "</body></html>";
    EXPECT_EQ(AccessDeniedPage(),
              start + "<h1>Access Denied</h1><p>You dont have permission to access this page.</p>" + end);
    EXPECT_EQ(NotFoundPage(),
              start + "<h1>Not Found</h1><p>The requested resource could not be found.</p>" + end);
}

TEST(WebPages, StyleSheetIsOneLineWithTheSiteColours) {
    const std::string css(StyleSheet());
    EXPECT_EQ(css.size(), 1837u);
    EXPECT_EQ(css.find('\n'), std::string::npos);
    for (const char* rule :
         {"body { width: 726px; margin: 20px auto;", "border-top: 3px solid #ff9211",
          "#Header { margin: 0 24px; padding: 23px 0 26px 57px;", "url(logo.png) no-repeat left 30px",
          "#Nav li a { display: block; padding: 4px 8px;",
          "img.Alarm { padding: 3px; border: 2px dotted #e51923; }", "color: #919193"})
        EXPECT_NE(css.find(rule), std::string::npos) << rule;
    EXPECT_EQ(Count(css, "{"), Count(css, "}"));
}

}  // namespace
}  // namespace kestrova
