#include "platform/ui/backends/x11/x11_clipboard.h"

#include <algorithm>
#include <vector>

#include "platform/base/text.h"

namespace kestrova::ui {
namespace {

// An owner silent this long after a request (or after a part of its text) has hung; the paste gets nothing.
constexpr auto kOwnerPatience = std::chrono::seconds(1);
// A paste larger than this is refused rather than held in memory: no edit takes that much.
constexpr size_t kLargestPaste = size_t(16) << 20;

std::wstring WithLineFeeds(std::wstring_view text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')) out += text[i];
    return out;
}

std::wstring WithCarriageReturns(std::wstring_view text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
        out += text[i];
    }
    return out;
}

// STRING is Latin-1: false when the text has characters beyond it.
bool ToLatin1(std::wstring_view text, std::string* out) {
    for (wchar_t ch : text) {
        if (ch < 0 || ch > 0xFF) return false;
        *out += char(ch);
    }
    return true;
}

std::wstring FromLatin1(std::string_view bytes) {
    std::wstring out;
    for (char ch : bytes) out += wchar_t(uint8_t(ch));
    return out;
}

}  // namespace

X11Clipboard::X11Clipboard(Display* display)
    : display_(display),
      window_(XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)),
      clipboard_(XInternAtom(display, "CLIPBOARD", False)),
      targets_(XInternAtom(display, "TARGETS", False)),
      utf8_(XInternAtom(display, "UTF8_STRING", False)),
      incr_(XInternAtom(display, "INCR", False)),
      property_(XInternAtom(display, "KESTROVA_PASTE", False)) {
    // Parts of a text sent incrementally arrive as property changes.
    XSelectInput(display_, window_, PropertyChangeMask);
    long units = XExtendedMaxRequestSize(display_);
    if (units == 0) units = XMaxRequestSize(display_);
    largestProperty_ = size_t(units) * 4 - 64;  // room for the request's own fields
}

X11Clipboard::~X11Clipboard() {
    if (owning_) XSetSelectionOwner(display_, clipboard_, None, CurrentTime);
    XDestroyWindow(display_, window_);
    XSync(display_, False);
}

void X11Clipboard::Own(std::wstring_view text) {
    owned_ = WithLineFeeds(text);
    // The time of the event that led to the copy is not known here (a copy may also come from a message):
    // CurrentTime makes sure the newest copy wins over an older owner.
    XSetSelectionOwner(display_, clipboard_, window_, CurrentTime);
    owning_ = XGetSelectionOwner(display_, clipboard_) == window_;
}

void X11Clipboard::AskPaste() {
    pasting_ = true;
    incremental_ = false;
    receivedType_ = None;
    received_.clear();
    pasted_.reset();
    deadline_ = std::chrono::steady_clock::now() + kOwnerPatience;
    XDeleteProperty(display_, window_, property_);
    XConvertSelection(display_, clipboard_, utf8_, property_, window_, CurrentTime);
}

std::optional<std::wstring> X11Clipboard::TakePasted() {
    if (pasting_ && std::chrono::steady_clock::now() >= deadline_) {
        receivedType_ = None;  // half a text is no paste
        Finish();
    }
    std::optional<std::wstring> text = std::move(pasted_);
    pasted_.reset();
    return text;
}

int X11Clipboard::MillisecondsLeft() const {
    if (!pasting_) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
    return int(std::max<int64_t>(left.count(), 0));
}

void X11Clipboard::Handle(const XEvent& e) {
    switch (e.type) {
        case SelectionRequest:
            Answer(e.xselectionrequest);
            return;
        case SelectionClear:
            // Another program copied: its text is the clipboard's now. A copy of ours made while the event
            // was on its way took the clipboard back, though.
            if (e.xselectionclear.selection == clipboard_ &&
                XGetSelectionOwner(display_, clipboard_) != window_) {
                owning_ = false;
                owned_.clear();
            }
            return;
        case SelectionNotify:
            if (pasting_ && !incremental_ && e.xselection.requestor == window_ &&
                e.xselection.selection == clipboard_) {
                if (e.xselection.property == None)
                    Finish();
                else
                    Receive();
            }
            return;
        case PropertyNotify:
            if (pasting_ && incremental_ && e.xproperty.window == window_ && e.xproperty.atom == property_ &&
                e.xproperty.state == PropertyNewValue)
                ReceiveChunk();
            return;
    }
}

void X11Clipboard::Answer(const XSelectionRequestEvent& request) {
    // An old requestor names no property and takes the answer in one named after the target.
    Atom property = request.property == None ? request.target : request.property;
    bool given =
        owning_ && request.selection == clipboard_ && Give(request.requestor, property, request.target);
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = display_;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.property = given ? property : None;
    reply.xselection.time = request.time;
    XSendEvent(display_, request.requestor, False, NoEventMask, &reply);
}

bool X11Clipboard::Give(::Window requestor, Atom property, Atom target) {
    std::string latin1;
    const bool hasLatin1 = ToLatin1(owned_, &latin1);
    if (target == targets_) {
        std::vector<Atom> offered{targets_, utf8_};
        if (hasLatin1) offered.push_back(XA_STRING);
        XChangeProperty(display_, requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(offered.data()), int(offered.size()));
        return true;
    }
    std::string bytes;
    if (target == utf8_)
        bytes = ToUtf8(owned_);
    else if (target == XA_STRING && hasLatin1)
        bytes = std::move(latin1);
    else
        return false;
    // Too large for one request: refused rather than sent in parts, which no edit's text needs.
    if (bytes.size() > largestProperty_) return false;
    XChangeProperty(display_, requestor, property, target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
    return true;
}

X11Clipboard::Part X11Clipboard::TakeProperty() {
    Part part;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    // Reading with delete also tells an owner that sends in parts to send the next one.
    if (XGetWindowProperty(display_, window_, property_, 0, long(kLargestPaste / 4), True, AnyPropertyType,
                           &part.type, &format, &count, &after, &data) != Success)
        return Part{};
    if (data && format == 8) part.bytes.assign(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    if (after > 0) {
        // Larger than any paste is allowed to be: the property is left whole by the read.
        XDeleteProperty(display_, window_, property_);
        part.tooLarge = true;
    }
    return part;
}

void X11Clipboard::Receive() {
    Part part = TakeProperty();
    if (part.type == incr_) {
        incremental_ = true;
        deadline_ = std::chrono::steady_clock::now() + kOwnerPatience;
        return;
    }
    if (!part.tooLarge) {
        receivedType_ = part.type;
        received_ = std::move(part.bytes);
    }
    Finish();
}

void X11Clipboard::ReceiveChunk() {
    Part part = TakeProperty();
    if (part.type == None) return;  // not there (any more): no part yet
    if (part.tooLarge || received_.size() + part.bytes.size() > kLargestPaste) {
        receivedType_ = None;
        Finish();
        return;
    }
    // An empty part ends the text.
    if (part.bytes.empty()) return Finish();
    receivedType_ = part.type;
    received_ += part.bytes;
    deadline_ = std::chrono::steady_clock::now() + kOwnerPatience;
}

// Ends the paste with the text received: nothing unless it came as UTF-8 or Latin-1.
void X11Clipboard::Finish() {
    std::wstring text;
    if (receivedType_ == utf8_)
        text = FromUtf8(received_);
    else if (receivedType_ == XA_STRING)
        text = FromLatin1(received_);
    // The layer's texts end at their first NUL; some owners send one.
    text.resize(std::min(text.size(), text.find(L'\0')));
    pasted_ = WithCarriageReturns(text);
    pasting_ = false;
    incremental_ = false;
    receivedType_ = None;
    received_.clear();
}

}  // namespace kestrova::ui
