#pragma once
// The File Writer: takes a file stream (bytes with their positions) and writes it into the file named by
// its file sink. The file is created when the graph runs, so a name that is replaced before every run is
// never created itself. Bytes that ask for it (a header that describes what came before) are written only
// once everything before them is on the disk.

#include <mutex>
#include <string>

#include "platform/media/base_filter.h"

namespace kestrova::media {

class IFileSinkFilter {
public:
    virtual ~IFileSinkFilter() = default;
    // The file of the next run.
    virtual HRESULT SetFileName(const std::wstring& fileName, const AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT GetCurFile(std::wstring* fileName, AM_MEDIA_TYPE* type) = 0;
};

class FileWriter : public IBaseFilter, public IFileSinkFilter {
public:
    FileWriter();
    ~FileWriter() override;

    HRESULT SetFileName(const std::wstring& fileName, const AM_MEDIA_TYPE* type) override;
    HRESULT GetCurFile(std::wstring* fileName, AM_MEDIA_TYPE* type) override;

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;
    HRESULT OnRun() override;
    void OnStop() override;

private:
    void Close();

    std::mutex mutex_;
    std::wstring fileName_;
    AM_MEDIA_TYPE fileType_;
    int fd_ = -1;
};

}  // namespace kestrova::media
