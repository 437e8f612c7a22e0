// Menu resources are UTF-8 text, one item a line, nested by "popup" ... "end":
//
//     popup "Main"
//         item 4609 "Open Storage Folder"
//         separator
//         popup "More"
//             item 4614 "Facebook"
//         end
//     end
//
// Blank lines and lines starting with "#" are skipped. The file's top level is the menu bar, whose items are
// usually one popup each. A resource that does not parse loads as nothing rather than as part of a menu.

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "platform/ui/menus.h"

namespace {

std::string_view Trim(std::string_view s) {
    size_t begin = s.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    return s.substr(begin, s.find_last_not_of(" \t\r") - begin + 1);
}

// The text between the first and the last double quote of `rest`; false without two quotes.
bool QuotedText(std::string_view rest, std::wstring* text) {
    size_t open = rest.find('"');
    size_t close = rest.rfind('"');
    if (open == std::string_view::npos || close == open) return false;
    *text = kestrova::FromUtf8(rest.substr(open + 1, close - open - 1));
    return true;
}

class MenuParser {
public:
    explicit MenuParser(std::string_view source) : source_(source) {}

    HMENU Parse() {
        HMENU top = CreateMenu();
        stack_.push_back(top);
        while (ok_ && !source_.empty()) ParseLine(NextLine());
        if (ok_ && stack_.size() == 1) return top;
        DestroyMenu(top);  // the unfinished submenus belong to it already
        return nullptr;
    }

private:
    std::string_view NextLine() {
        size_t end = source_.find('\n');
        std::string_view line = source_.substr(0, end);
        source_ = end == std::string_view::npos ? std::string_view{} : source_.substr(end + 1);
        return Trim(line);
    }

    void ParseLine(std::string_view line) {
        if (line.empty() || line.front() == '#') return;
        std::wstring text;
        if (line == "separator") {
            ok_ = AppendMenuW(stack_.back(), MF_SEPARATOR, 0, nullptr);
        } else if (line == "end") {
            ok_ = stack_.size() > 1;
            if (ok_) stack_.pop_back();
        } else if (line.starts_with("popup ") && QuotedText(line, &text)) {
            HMENU sub = CreatePopupMenu();
            ok_ = AppendMenuW(stack_.back(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
            if (ok_)
                stack_.push_back(sub);
            else
                DestroyMenu(sub);
        } else if (line.starts_with("item ") && QuotedText(line, &text)) {
            char* end = nullptr;
            long id = std::strtol(line.data() + 5, &end, 10);
            ok_ = end != line.data() + 5 && id > 0 && id <= 0xFFFF &&
                  AppendMenuW(stack_.back(), MF_STRING, UINT_PTR(id), text.c_str());
        } else {
            ok_ = false;
        }
    }

    std::string_view source_;
    std::vector<HMENU> stack_;
    bool ok_ = true;
};

}  // namespace

HMENU LoadMenuW(HINSTANCE, const wchar_t* name) {
    kestrova::ResourceBytes bytes;
    if (!IS_INTRESOURCE(name) ||
        !kestrova::FindProgramResource(kestrova::ResourceKind::Menu, int(reinterpret_cast<uintptr_t>(name)),
                                       &bytes))
        return nullptr;
    return MenuParser({reinterpret_cast<const char*>(bytes.data), bytes.size}).Parse();
}
