#include "platform/media/file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/base/files.h"

namespace kestrova::media {

FileWriter::FileWriter() {
    AddPin(L"in", PINDIR_INPUT);
}

FileWriter::~FileWriter() {
    Close();
}

HRESULT FileWriter::SetFileName(const std::wstring& fileName, const AM_MEDIA_TYPE* type) {
    if (fileName.empty()) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(mutex_);
    fileName_ = fileName;
    fileType_ = type ? *type : AM_MEDIA_TYPE{};
    return S_OK;
}

HRESULT FileWriter::GetCurFile(std::wstring* fileName, AM_MEDIA_TYPE* type) {
    if (!fileName) return E_POINTER;
    std::lock_guard<std::mutex> lock(mutex_);
    *fileName = fileName_;
    if (type) *type = fileType_;
    return S_OK;
}

std::vector<AM_MEDIA_TYPE> FileWriter::PinMediaTypes(IPin&) {
    AM_MEDIA_TYPE stream;
    stream.majortype = MEDIATYPE_Stream;
    return {stream};
}

bool FileWriter::PinAccepts(IPin&, const AM_MEDIA_TYPE& type) {
    return type.majortype == MEDIATYPE_Stream;
}

HRESULT FileWriter::OnRun() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fileName_.empty()) return E_UNEXPECTED;
    fd_ = ::open(NativePath(fileName_).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd_ < 0 ? VFW_E_FILE_ERROR : S_OK;
}

HRESULT FileWriter::Receive(IPin&, MediaSample& sample) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd_ < 0) return VFW_E_WRONG_STATE;
    if (sample.syncFirst && ::fdatasync(fd_) != 0) return VFW_E_FILE_ERROR;
    size_t done = 0;
    while (done < sample.length) {
        const ssize_t n =
            ::pwrite(fd_, sample.data + done, sample.length - done, off_t(sample.position + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return VFW_E_FILE_ERROR;
        done += size_t(n);
    }
    return S_OK;
}

void FileWriter::OnStop() {
    std::lock_guard<std::mutex> lock(mutex_);
    Close();
}

void FileWriter::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace kestrova::media
