// SaveAsANI: joins whole icon or cursor files, byte for byte, into one
// animated cursor file.
#include "orvex32.h"

#include <memory>
#include <string>
#include <vector>

#include "anilayout.h"
#include "safefile.h"

namespace orvex {

namespace {

// The data of a one-dimensional safe array whose elements are of the given
// type, held locked while the object lives. An array of any other type counts
// as empty, so that its elements are never read as something they are not.
class ArrayData {
public:
    ArrayData(SAFEARRAY** array, VARTYPE type, UINT elementSize) {
        VARTYPE stored = VT_EMPTY;
        if (!array || !*array || SafeArrayGetDim(*array) != 1 || FAILED(SafeArrayGetVartype(*array, &stored)) ||
            stored != type || SafeArrayGetElemsize(*array) != elementSize)
            return;
        LONG lower = 0, upper = -1;
        if (FAILED(SafeArrayGetLBound(*array, 1, &lower)) || FAILED(SafeArrayGetUBound(*array, 1, &upper))) return;
        if (upper < lower || FAILED(SafeArrayAccessData(*array, &data_))) return;
        array_ = *array;
        count_ = static_cast<size_t>(static_cast<int64_t>(upper) - lower + 1);
    }
    ~ArrayData() {
        if (array_) SafeArrayUnaccessData(array_);
    }
    ArrayData(const ArrayData&) = delete;
    ArrayData& operator=(const ArrayData&) = delete;

    // Zero when the array is unusable or empty.
    size_t count() const { return count_; }
    template <typename T> const T& at(size_t i) const { return static_cast<const T*>(data_)[i]; }

private:
    SAFEARRAY* array_ = nullptr;
    void* data_ = nullptr;
    size_t count_ = 0;
};

// The caller hands its names over as ANSI bytes inside each BSTR.
std::string ansiName(BSTR name) {
    if (!name) return {};
    const char* bytes = reinterpret_cast<const char*>(name);
    std::string text(bytes, SysStringByteLen(name));
    return text.substr(0, text.find('\0'));
}

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct ViewUnmapper {
    void operator()(const void* view) const { UnmapViewOfFile(view); }
};

// One frame file, opened before the target is touched, so that a missing
// frame costs nothing.
struct FrameFile {
    UniqueHandle file;
    uint32_t size = 0;
};

bool openFrame(const std::string& name, FrameFile& frame) {
    if (!validFileName(name.c_str())) return false;
    HANDLE h = CreateFileW(WideName(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    frame.file.reset(h);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size) || size.QuadPart > UINT32_MAX) return false;
    frame.size = static_cast<uint32_t>(size.QuadPart);
    return true;
}

// "icon", the size and the frame's bytes, read through a mapping of the file.
bool writeFrame(SafeFileWriter& target, const FrameFile& frame) {
    UniqueHandle mapping(CreateFileMappingA(frame.file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return false;
    std::unique_ptr<const void, ViewUnmapper> view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return false;
    const auto header = aniFrameHeader(frame.size);
    return target.write(header.data(), header.size()) && target.write(view.get(), frame.size);
}

bool SaveAniFile(SAFEARRAY** frameFiles, SAFEARRAY** rateArray, const char* fileName, const int32_t* flag) {
    if (!flag || !validFileName(fileName)) return false;
    const bool replace = *flag == 0;
    if (!replace && GetFileAttributesW(WideName(fileName).c_str()) != INVALID_FILE_ATTRIBUTES) return false;

    std::vector<FrameFile> frames;
    std::vector<uint32_t> sizes;
    std::vector<int32_t> rates;
    {
        const ArrayData names(frameFiles, VT_BSTR, sizeof(BSTR));
        const ArrayData rateData(rateArray, VT_I4, sizeof(int32_t));
        if (names.count() == 0 || rateData.count() == 0) return false;
        for (size_t i = 0; i < rateData.count(); ++i) rates.push_back(rateData.at<int32_t>(i));
        frames.resize(names.count());
        for (size_t i = 0; i < frames.size(); ++i) {
            if (!openFrame(ansiName(names.at<BSTR>(i)), frames[i])) return false;
            sizes.push_back(frames[i].size);
        }
    }
    const auto prologue = aniPrologue(sizes, rates);
    if (!prologue) return false;

    SafeFileWriter target(fileName);
    target.write(prologue->data(), prologue->size());
    for (const FrameFile& frame : frames)
        if (!writeFrame(target, frame)) return false;
    // A frame may be the target itself: let go of them all before the rename.
    frames.clear();
    return target.commit(replace);
}

} // namespace

} // namespace orvex

extern "C" int32_t WINAPI SaveAsANI(SAFEARRAY** frameFiles, SAFEARRAY** rates, const char* fileName,
                                    const int32_t* flag) {
    try {
        return orvex::SaveAniFile(frameFiles, rates, fileName, flag) ? -1 : 0;
    } catch (...) {
        return 0;
    }
}
