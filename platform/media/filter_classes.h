#pragma once
// Filter classes by class id: the layer's own filters are registered from the start; a class id with no
// factory cannot be created (as when a filter is not installed). Tests take classes away and put them back.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/media/base_filter.h"

namespace kestrova::media {

using CLSID = std::wstring;  // "{8-4-4-4-12}" hexadecimal digits

extern const CLSID CLSID_SampleGrabber;
extern const CLSID CLSID_SmartTee;
extern const CLSID CLSID_NullRenderer;
extern const CLSID CLSID_MjpegCompressor;
extern const CLSID CLSID_AviMux;
extern const CLSID CLSID_FileWriter;
extern const CLSID CLSID_VideoConverter;  // YUY2 and MJPG to RGB24
// The frame source that recording graphs take their timing from.
extern const CLSID CLSID_FrameSource;
// The WAV writer.
extern const CLSID CLSID_WavDest;

using FilterFactory = std::function<std::shared_ptr<IBaseFilter>()>;

// Makes a new filter of the class; REGDB_E_CLASSNOTREG when the class has no factory.
HRESULT CoCreateInstance(const CLSID& clsid, std::shared_ptr<IBaseFilter>* filter);
// Installs `factory` for `clsid` (an empty factory removes the class) and returns the one it replaced.
FilterFactory RegisterFilterClass(const CLSID& clsid, FilterFactory factory);

// The converters that the graph may put between two pins that do not connect directly, in the order tried.
struct ConverterClass {
    CLSID clsid;
    std::wstring name;
};
const std::vector<ConverterClass>& ConverterClasses();

}  // namespace kestrova::media
