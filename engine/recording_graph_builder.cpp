#include "engine/recording_graph_builder.h"

#include <memory>

#include "engine/device_messages.h"

namespace kestrova {

using namespace media;

int RecordingGraphBuilder::Build(RecordingGraph& r, HWND notifyWindow) {
    r.graph = std::make_shared<FilterGraph>();
    r.builder = std::make_shared<CaptureGraphBuilder>();
    // A new builder takes a new graph, and a graph's event queue takes any window: neither can refuse.
    r.builder->SetFiltergraph(r.graph);
    r.control = QueryInterface<IMediaControl>(r.graph);
    r.events = QueryInterface<IMediaEventEx>(r.graph);
    r.events->SetNotifyWindow(notifyWindow, WM_GRAPH_NOTIFY, 0);

    if (FAILED(AddFilters(r))) {
        r.Release();
        return 0;
    }
    // A graph that cannot be registered still records; it is only invisible to graph tools.
    if (FAILED(AddGraphToRot(r.graph, &r.rotCookie))) r.rotCookie = 0;
    return 1;
}

}  // namespace kestrova
