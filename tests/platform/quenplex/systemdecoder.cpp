#include "systemdecoder.h"

#include <windows.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <fstream>
#include <iterator>

namespace {

template <class T> struct Ref {
    T* p = nullptr;
    ~Ref() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

} // namespace

DecodedPicture decodeWithSystem(const std::vector<std::uint8_t>& bytes) {
    DecodedPicture out;
    Ref<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out()))))
        return out;
    Ref<IStream> stream;
    stream.p = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream.p) return out;
    Ref<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnLoad, decoder.out())))
        return out;
    Ref<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.out()))) return out;
    Ref<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out()))) return out;
    if (FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)))
        return out;
    UINT w = 0, h = 0;
    converter->GetSize(&w, &h);
    std::vector<BYTE> bgra(static_cast<std::size_t>(w) * h * 4);
    if (FAILED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(bgra.size()), bgra.data()))) return out;
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        out.rgb.push_back(bgra[i + 2]);
        out.rgb.push_back(bgra[i + 1]);
        out.rgb.push_back(bgra[i]);
        out.alpha.push_back(bgra[i + 3]);
    }
    return out;
}

DecodedPicture decodeFileWithSystem(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeWithSystem(bytes);
}
