#pragma once
// The capture graph builder: finds pins by direction, category and type, connects a stream from a source
// through an optional filter to a sink (adding a converter where the two do not connect directly), and
// makes the multiplexer and file writer of an output file.

#include <memory>
#include <string>

#include "platform/media/file_writer.h"
#include "platform/media/filter_graph.h"
#include "platform/media/stream_config.h"

namespace kestrova::media {

class CaptureGraphBuilder {
public:
    HRESULT SetFiltergraph(const std::shared_ptr<FilterGraph>& graph);
    HRESULT GetFiltergraph(std::shared_ptr<FilterGraph>* graph);

    // The `index`-th pin of `filter` (counting from 0) in `direction` whose category and major type fit
    // (PIN_CATEGORY_None and MEDIATYPE_None fit any); with `unconnected` only free pins count.
    HRESULT FindPin(IBaseFilter* filter, PIN_DIRECTION direction, PinCategory category, MajorType type,
                    bool unconnected, int index, IPin** pin);
    // The stream configuration of the filter's first output pin of that category and type.
    HRESULT FindInterface(PinCategory category, MajorType type, IBaseFilter* filter,
                          std::shared_ptr<IAMStreamConfig>* config);

    // Connects the source's free output pin of that category and type (or the given output pin) into
    // `intermediate` when there is one, and from there into a free input pin of `sink`.
    HRESULT RenderStream(PinCategory category, MajorType type, IBaseFilter* source, IBaseFilter* intermediate,
                         IBaseFilter* sink);
    HRESULT RenderStream(PinCategory category, MajorType type, IPin* source, IBaseFilter* intermediate,
                         IBaseFilter* sink);

    // Adds a multiplexer of `subtype` (MEDIASUBTYPE_Avi) and a File Writer for `fileName` to the graph and
    // connects them; hands back the multiplexer and the writer's file sink.
    HRESULT SetOutputFileName(SubType subtype, const std::wstring& fileName,
                              std::shared_ptr<IBaseFilter>* mux, std::shared_ptr<IFileSinkFilter>* sink);

private:
    HRESULT ConnectToSink(IPin* output, IBaseFilter* sink);

    std::shared_ptr<FilterGraph> graph_;
};

}  // namespace kestrova::media
