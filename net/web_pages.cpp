#include "net/web_pages.h"

namespace kestrova {
namespace {

constexpr std::string_view kHead =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\""
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">"
    "<head><link rel=\"stylesheet\" type=\"text/css\" href=\"global.css\"/><title>Kestrova</title></head>";

constexpr std::string_view kReloadingBody = "<body onload=\"setInterval(function(){ReloadFrames()}, 1000)\">";
constexpr std::string_view kPlainBody = "<body>";

constexpr std::string_view kHeaderAndNavStart =
    "<div id=\"Header\"><h1>Kestrova</h1><p>Remote Monitoring</p></div>"
    "<div id=\"Nav\"><ul><li><a href=\"index.php\">Home</a></li>";
constexpr std::string_view kNavEndAndContainer = "</ul></div><div id=\"Container\">";

constexpr std::string_view kFooter = "</div><div id=\"Footer\"><p>Kestrova</p></div>";

constexpr std::string_view kScriptStart =
    "<script type=\"text/javascript\">function ReloadFrames(){var d = new Date();var t = d.getTime();";
constexpr std::string_view kEnd = "</body></html>";

void AppendNumber(std::string& page, int n) {
    page += std::to_string(n);
}

// document.getElementById("devN").src = "N.jpg?" + t;
void AppendReload(std::string& page, int n) {
    page += "document.getElementById(\"dev";
    AppendNumber(page, n);
    page += "\").src = \"";
    AppendNumber(page, n);
    page += ".jpg?\" + t;";
}

// <img id="devN" src="N.jpg" width=".." height=".."/>, `size` being the two attributes.
void AppendPicture(std::string& page, int n, std::string_view size) {
    page += "<img id=\"dev";
    AppendNumber(page, n);
    page += "\" src=\"";
    AppendNumber(page, n);
    page += ".jpg\" ";
    page += size;
    page += "/>";
}

std::string MessagePage(std::string_view message) {
    std::string page;
    page.append(kHead).append(kPlainBody).append(kHeaderAndNavStart).append(kNavEndAndContainer);
    page.append(message).append(kFooter).append(kEnd);
    return page;
}

}  // namespace

std::string BuildIndexPage(int count) {
    std::string page;
    page.reserve(1024 + size_t(count > 0 ? count : 0) * 160);
    page.append(kHead).append(kReloadingBody).append(kHeaderAndNavStart).append(kNavEndAndContainer);
    for (int i = 1; i <= count; ++i) {
        page += "<a href=\"device.php?id=";
        AppendNumber(page, i);
        page += "\">";
        AppendPicture(page, i, "width=\"320\" height=\"240\"");
        page += "</a>";
    }
    page.append(kFooter).append(kScriptStart);
    for (int i = 1; i <= count; ++i) AppendReload(page, i);
    page += "}</script>";
    page.append(kEnd);
    return page;
}

std::string BuildDevicePage(int number) {
    std::string page;
    page.append(kHead).append(kReloadingBody).append(kHeaderAndNavStart);
    page += "<li><p>Device ";
    AppendNumber(page, number);
    page += "</p></li>";
    page.append(kNavEndAndContainer);
    AppendPicture(page, number, "width=\"668\" height=\"501\"");
    page.append(kFooter).append(kScriptStart);
    AppendReload(page, number);
    page += "}</script>";
    page.append(kEnd);
    return page;
}

const std::string& AccessDeniedPage() {
    static const std::string page =
        MessagePage("<h1>Access Denied</h1><p>You dont have permission to access this page.</p>");
    return page;
}

const std::string& NotFoundPage() {
    static const std::string page =
        MessagePage("<h1>Not Found</h1><p>The requested resource could not be found.</p>");
    return page;
}

std::string_view StyleSheet() {
    static constexpr std::string_view css =
        "* { margin: 0; padding: 0; } "
        "html { text-align: center; background: #f3f3f3; color: #333333; } "
        "body { width: 726px; margin: 20px auto; text-align: left; background: #ffffff; "
        "border-top: 3px solid #ff9211; font-family: Tahoma, Arial, Helvetica; color: #333333; } "
        "h1 { margin: 7px 0 0; font-family: Tahoma, Arial, Helvetica; font-size: 16px; font-weight: normal; "
        "line-height: 20px; color: #333333; } "
        "p { font-family: Tahoma, Arial, Helvetica; font-size: 12px; font-weight: normal; line-height: 18px; "
        "color: #333333; } "
        "img { margin: 9px; padding: 4px; background: #ffffff; border: 1px solid #d7d7d7; } "
        "img.Alarm { padding: 3px; border: 2px dotted #e51923; } "
        "audio { display: none; visibility: hidden; width: 0; height: 0; } "
        "#Nav { margin: 0 24px; padding: 1px 0 0; background: #ffffff; } "
        "#Nav ul { margin: 3px 0 0; list-style: none; } "
        "#Nav li { display: inline-block; font-family: Tahoma, Arial, Helvetica; font-size: 12px; "
        "line-height: 18px; border: none; } "
        "#Nav li p { display: block; padding: 4px 8px; font-family: Tahoma, Arial, Helvetica; color: "
        "#333333; "
        "background: #ffffff; } "
        "#Nav li a { display: block; padding: 4px 8px; font-family: Tahoma, Arial, Helvetica; "
        "text-decoration: none; color: #ffffff; background: #ff9211; border-radius: 2px; font-size: 12px; "
        "line-height: 18px; } "
        "#Header { margin: 0 24px; padding: 23px 0 26px 57px; border-bottom: 1px solid #d7d7d7; "
        "background: #ffffff url(logo.png) no-repeat left 30px; } "
        "#Container { margin: 0 15px 5px; padding: 10px 0; } "
        "#Container h1 { margin: 10px; color: #333333; } "
        "#Container p { margin: 10px; } "
        "#Footer { padding: 9px 24px; border-top: 1px solid #d7d7d7; background: #f3f3f3; } "
        "#Footer p { font-family: Tahoma, Arial, Helvetica; font-size: 11px; line-height: 18px; color: "
        "#919193; } "
        "#Footer a { font-family: Tahoma, Arial, Helvetica; color: #919193; text-decoration: none; }";
    return css;
}

}  // namespace kestrova
