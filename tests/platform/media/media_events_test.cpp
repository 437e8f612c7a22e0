#include <gtest/gtest.h>

#include <vector>

#include "platform/media/filter_graph.h"
#include "platform/ui/messages.h"

namespace kestrova::mediatest {
namespace {

using namespace media;

std::vector<MSG> g_received;

LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP + 3) {
        MSG m;
        m.hwnd = hwnd;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        g_received.push_back(m);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeNotifyWindow() {
    static const bool registered = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = L"MediaEventsTestWindow";
        return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExW(0, L"MediaEventsTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr,
                           nullptr);
}

void DispatchWaiting() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(MediaEvents, EachEventPostsTheNotifyMessageAndTheQueueGivesThemBackInOrder) {
    g_received.clear();
    HWND window = MakeNotifyWindow();
    ASSERT_NE(window, nullptr);
    FilterGraph graph;
    IMediaEventEx& events = graph;
    ASSERT_EQ(events.SetNotifyWindow(window, WM_APP + 3, 77), S_OK);
    graph.Notify(EC_COMPLETE, 0, 0);
    graph.Notify(EC_DEVICE_LOST, 5, 0);
    graph.Notify(EC_PAUSED, 0, 0);
    DispatchWaiting();
    ASSERT_EQ(g_received.size(), 3u);
    for (const MSG& m : g_received) {
        EXPECT_EQ(m.wParam, 0u);
        EXPECT_EQ(m.lParam, 77);
    }

    long code = 0;
    intptr_t p1 = 0, p2 = 0;
    const long expected[] = {EC_COMPLETE, EC_DEVICE_LOST, EC_PAUSED};
    for (long want : expected) {
        ASSERT_EQ(events.GetEvent(&code, &p1, &p2, 0), S_OK);
        EXPECT_EQ(code, want);
        EXPECT_EQ(events.FreeEventParams(code, p1, p2), S_OK);
    }
    EXPECT_EQ(events.GetEvent(&code, &p1, &p2, 0), E_ABORT);
    EXPECT_EQ(events.GetEvent(nullptr, &p1, &p2, 0), E_POINTER);

    // Without a notify window events are still queued, but nothing is posted.
    events.SetNotifyWindow(nullptr, 0, 0);
    graph.Notify(EC_USERABORT, 0, 0);
    DispatchWaiting();
    EXPECT_EQ(g_received.size(), 3u);
    EXPECT_EQ(events.GetEvent(&code, &p1, &p2, 0), S_OK);
    EXPECT_EQ(code, EC_USERABORT);
    DestroyWindow(window);
}

}  // namespace
}  // namespace kestrova::mediatest
