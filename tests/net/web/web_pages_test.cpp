// The web pages, byte for byte against the golden files beside this test (tests/net/web/golden/, without a
// final line feed, as served); and the index page's growth with the number of devices.
#include "net/web_pages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrova {
namespace {

std::string Golden(const std::string& name) {
    const char* source = std::getenv("KESTROVA_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : ".") + "/tests/net/web/golden/" + name, std::ios::binary);
    EXPECT_TRUE(in) << "no golden file " << name;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(WebPages, EachPageIsItsGoldenFile) {
    const struct {
        const char* golden;
        std::string page;
    } cases[] = {
        {"index-3.html", BuildIndexPage(3)},        {"device-12.html", BuildDevicePage(12)},
        {"access-denied.html", AccessDeniedPage()}, {"not-found.html", NotFoundPage()},
        {"global.css", std::string(StyleSheet())},
    };
    for (const auto& c : cases) EXPECT_EQ(c.page, Golden(c.golden)) << c.golden;
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

}  // namespace
}  // namespace kestrova
