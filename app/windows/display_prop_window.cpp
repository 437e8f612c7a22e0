#include "app/windows/display_prop_window.h"

#include "app/windows/control_table.h"
#include "app/windows/property_frame.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{540, 333};

constexpr RadioChoice kStreams[] = {{1037, 1}, {1038, 4}, {1039, 9}, {1040, 16}, {1041, 25}};

constexpr ControlSpec kControls[] = {
    {ControlKind::Heading, 1036, L"Number of video streams", 19, 101},
    {ControlKind::Radio, 1037, L"1", 37, 129},
    {ControlKind::Radio, 1038, L"4", 37, 154},
    {ControlKind::Radio, 1039, L"9", 37, 179},
    {ControlKind::Radio, 1040, L"16", 37, 204},
    {ControlKind::Radio, 1041, L"25", 37, 229},
};

class DisplayPropWindow {
public:
    DisplayPropWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), streams_(frame_.RecordAs<int32_t>()) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const { frame_.Paint(L"Display"); }
    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        CreateControls(frame_.Window(), kControls);
        OnDefault();
        if (streams_) CheckRadioValue(frame_.Window(), kStreams, *streams_);
    }

    void OnCommand(int id) {
        if (id == kOkButtonId) OnOk();
        if (id == kDefaultButtonId) OnDefault();
        if (InGroup(kStreams, id)) CheckRadio(frame_.Window(), kStreams, id);
    }

private:
    void OnOk() {
        if (streams_) {
            *streams_ = CheckedRadioValue(frame_.Window(), kStreams, *streams_);
            frame_.SetResult(kPropertyOk);
        }
        frame_.Close();
    }

    void OnDefault() { CheckRadio(frame_.Window(), kStreams, kStreams[0].id); }

    PropertyFrame frame_;
    int32_t* streams_;
};

}  // namespace

uint16_t RegisterDisplayPropWindowClass() {
    return RegisterPropertyWindowClass(kDisplayPropWindowClass, PropertyWindowProc<DisplayPropWindow>);
}

int ShowDisplayPropWindow(HWND owner, int32_t* streams) {
    return ShowPropertyWindow(kDisplayPropWindowClass, owner, streams, kSize);
}

}  // namespace kestrova
