#include "platform/media/filter_classes.h"

#include <map>
#include <mutex>

#include "platform/media/avi_mux.h"
#include "platform/media/file_writer.h"
#include "platform/media/frame_source.h"
#include "platform/media/mjpeg_compressor.h"
#include "platform/media/null_renderer.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/smart_tee.h"
#include "platform/media/video_converter.h"
#include "platform/media/wav_dest.h"

namespace kestrova::media {

const CLSID CLSID_SampleGrabber = L"{5E1A6C40-3B7D-4F0E-9C21-7A54D0B8E301}";
const CLSID CLSID_SmartTee = L"{5E1A6C40-3B7D-4F0E-9C21-7A54D0B8E302}";
const CLSID CLSID_NullRenderer = L"{5E1A6C40-3B7D-4F0E-9C21-7A54D0B8E303}";
const CLSID CLSID_MjpegCompressor = L"{5E1A6C40-3B7D-4F0E-9C21-7A54D0B8E304}";
const CLSID CLSID_AviMux = L"{5E1A6C40-3B7D-4F0E-9C21-7A54D0B8E305}";
const CLSID CLSID_FileWriter = L"{5E1A6C40-3B7D-4F0E-9C21-7A54D0B8E306}";
const CLSID CLSID_VideoConverter = L"{5E1A6C40-3B7D-4F0E-9C21-7A54D0B8E307}";
const CLSID CLSID_FrameSource = L"{5E1A6C40-3B7D-4F0E-9C21-7A54D0B8E310}";
const CLSID CLSID_WavDest = L"{3C78B8E2-6C4D-11D1-ADE2-0000F8754B99}";

namespace {

template <class Filter>
FilterFactory Make() {
    return [] { return std::shared_ptr<IBaseFilter>(std::make_shared<Filter>()); };
}

struct Registry {
    std::mutex mutex;
    std::map<CLSID, FilterFactory> factories{
        {CLSID_SampleGrabber, Make<SampleGrabber>()},
        {CLSID_SmartTee, Make<SmartTee>()},
        {CLSID_NullRenderer, Make<NullRenderer>()},
        {CLSID_MjpegCompressor, Make<MjpegCompressor>()},
        {CLSID_AviMux, Make<AviMux>()},
        {CLSID_FileWriter, Make<FileWriter>()},
        {CLSID_VideoConverter, Make<VideoConverter>()},
        {CLSID_FrameSource, Make<FrameSource>()},
        {CLSID_WavDest, Make<WavDest>()},
    };
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

HRESULT CoCreateInstance(const CLSID& clsid, std::shared_ptr<IBaseFilter>* filter) {
    if (!filter) return E_POINTER;
    filter->reset();
    FilterFactory factory;
    {
        Registry& registry = TheRegistry();
        std::lock_guard<std::mutex> lock(registry.mutex);
        auto it = registry.factories.find(clsid);
        if (it == registry.factories.end()) return REGDB_E_CLASSNOTREG;
        factory = it->second;
    }
    *filter = factory();
    return *filter ? S_OK : E_OUTOFMEMORY;
}

FilterFactory RegisterFilterClass(const CLSID& clsid, FilterFactory factory) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    FilterFactory old;
    if (auto it = registry.factories.find(clsid); it != registry.factories.end()) old = std::move(it->second);
    if (factory) {
        registry.factories[clsid] = std::move(factory);
    } else {
        registry.factories.erase(clsid);
    }
    return old;
}

const std::vector<ConverterClass>& ConverterClasses() {
    static const std::vector<ConverterClass> classes{{CLSID_VideoConverter, L"Video Converter"}};
    return classes;
}

}  // namespace kestrova::media
