#pragma once
// The CLIPBOARD selection of the X display: the program's copied text offered to other programs, and the
// text another program owns fetched for a paste. Used by the backend's own thread only, which hands it the
// selection events and never blocks on a paste: it asks, goes on with its other work, and collects the
// answer (or nothing, once the owner kept silent too long) on a later pass.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/backends/x11/xlib.h"

namespace kestrova::ui {

class X11Clipboard {
public:
    explicit X11Clipboard(Display* display);
    ~X11Clipboard();  // gives the selection up
    X11Clipboard(const X11Clipboard&) = delete;
    X11Clipboard& operator=(const X11Clipboard&) = delete;

    // Takes the selection with `text` (the layer's text, "\r\n" line breaks).
    void Own(std::wstring_view text);
    // Asks the selection's owner for its text; TakePasted gives the answer.
    void AskPaste();
    bool Pasting() const { return pasting_; }
    // The text asked for by AskPaste once the owner answered ("\r\n" line breaks), or an empty text when it
    // refused, has none or stayed silent for a second; nothing while the answer is still awaited.
    std::optional<std::wstring> TakePasted();
    // How long poll() may sleep before TakePasted must give up on the owner; -1: no paste is awaited.
    int MillisecondsLeft() const;

    // SelectionRequest, SelectionClear, SelectionNotify and PropertyNotify.
    void Handle(const XEvent& e);

private:
    void Answer(const XSelectionRequestEvent& request);
    bool Give(::Window requestor, Atom property, Atom target);
    struct Part {
        Atom type = None;  // None: no property
        std::string bytes;
        bool tooLarge = false;
    };
    Part TakeProperty();
    void Receive();
    void ReceiveChunk();
    void Finish();

    Display* display_;
    ::Window window_;  // owns the selection and receives the pasted text
    Atom clipboard_, targets_, utf8_, incr_, property_;
    size_t largestProperty_;  // bytes a single request can carry

    bool owning_ = false;
    std::wstring owned_;  // "\n" line breaks, as X programs expect

    bool pasting_ = false;
    bool incremental_ = false;  // the owner sends the text in parts
    Atom receivedType_ = None;
    std::string received_;
    std::chrono::steady_clock::time_point deadline_;
    std::optional<std::wstring> pasted_;
};

}  // namespace kestrova::ui
