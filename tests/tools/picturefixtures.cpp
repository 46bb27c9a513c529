#include "picturefixtures.h"

#include <wincodec.h>

#include "picture.h"
#include "vberror.h"

#include <cstdint>
#include <fstream>
#include <map>
#include <vector>

namespace toolstest {

namespace {

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, unsigned v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

bool save(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// LZW codes of a fixed 9-bit width, packed from the low bit.
class CodeWriter {
public:
    void code(unsigned value) {
        bits_ |= value << count_;
        count_ += 9;
        while (count_ >= 8) {
            bytes_ += static_cast<char>(bits_ & 0xFF);
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    std::string finish() {
        if (count_) bytes_ += static_cast<char>(bits_ & 0xFF);
        return bytes_;
    }

private:
    std::string bytes_;
    unsigned bits_ = 0;
    int count_ = 0;
};

} // namespace

bool writeBmp(const std::string& path, int width, int height, const PixelFn& pixel) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixel(dc, x, y, pixel(x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    try {
        vm::SavePicture(vm::Picture::fromBitmap(bitmap), path);
    } catch (const vm::VbError&) {
        return false;
    }
    return true;
}

bool writeGif(const std::string& path, int width, int height, const PixelFn& pixel) {
    std::map<COLORREF, int> index;
    std::vector<COLORREF> palette;
    std::vector<int> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixel(x, y);
            auto found = index.find(c);
            if (found == index.end()) {
                if (palette.size() == 256) return false;
                found = index.emplace(c, static_cast<int>(palette.size())).first;
                palette.push_back(c);
            }
            pixels.push_back(found->second);
        }
    palette.resize(256, 0);
    std::string out = "GIF89a";
    put16(out, static_cast<unsigned>(width));
    put16(out, static_cast<unsigned>(height));
    out += static_cast<char>(0xF7); // a global table of 256 colours
    out += '\0';
    out += '\0';
    for (COLORREF c : palette) {
        out += static_cast<char>(GetRValue(c));
        out += static_cast<char>(GetGValue(c));
        out += static_cast<char>(GetBValue(c));
    }
    out += ',';
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(width));
    put16(out, static_cast<unsigned>(height));
    out += '\0';
    out += static_cast<char>(8); // minimum code size
    // Every pixel is a literal code; a clear code before the table would grow
    // past 9 bits keeps the width fixed.
    CodeWriter codes;
    codes.code(256);
    int sinceClear = 0;
    for (int p : pixels) {
        if (sinceClear == 250) {
            codes.code(256);
            sinceClear = 0;
        }
        codes.code(static_cast<unsigned>(p));
        ++sinceClear;
    }
    codes.code(257);
    const std::string data = codes.finish();
    for (size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    out += ';';
    return save(path, out);
}

bool writeJpg(const std::string& path, int width, int height, const PixelFn& pixel) {
    std::vector<BYTE> bgr(static_cast<size_t>(width * height * 3));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixel(x, y);
            BYTE* p = &bgr[static_cast<size_t>((y * width + x) * 3)];
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return false;
    std::wstring wide(path.begin(), path.end());
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
              SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    ok = ok && SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width * 3),
                                      static_cast<UINT>(bgr.size()), bgr.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    if (frame) frame->Release();
    if (encoder) encoder->Release();
    if (stream) stream->Release();
    factory->Release();
    return ok;
}

namespace {
void drawBoxes(HDC dc, const std::vector<Box>& boxes) {
    for (const Box& box : boxes) {
        HBRUSH brush = CreateSolidBrush(box.color);
        FillRect(dc, &box.rect, brush);
        DeleteObject(brush);
    }
}
} // namespace

bool writeWmf(const std::string& path, int width, int height, const std::vector<Box>& boxes) {
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    std::vector<Box> all{{{0, 0, width, height}, RGB(255, 255, 255)}};
    all.insert(all.end(), boxes.begin(), boxes.end());
    drawBoxes(dc, all);
    HMETAFILE meta = CloseMetaFile(dc);
    const UINT size = GetMetaFileBitsEx(meta, 0, nullptr);
    std::string bits(size, '\0');
    GetMetaFileBitsEx(meta, size, bits.data());
    DeleteMetaFile(meta);
    // The placeable header that lets a picture loader size the metafile.
    std::string header;
    put32(header, 0x9AC6CDD7u);
    put16(header, 0);
    put16(header, 0);
    put16(header, 0);
    put16(header, static_cast<unsigned>(width));
    put16(header, static_cast<unsigned>(height));
    put16(header, 96);
    put32(header, 0);
    unsigned sum = 0;
    for (size_t i = 0; i < header.size(); i += 2)
        sum ^= static_cast<unsigned char>(header[i]) | (static_cast<unsigned char>(header[i + 1]) << 8);
    put16(header, sum & 0xFFFF);
    return save(path, header + bits);
}

bool writeEmf(const std::string& path, int width, int height, const std::vector<Box>& boxes) {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    RECT frame{0, 0, width * 2540 / dpiX, height * 2540 / dpiY}; // hundredths of a millimetre
    HDC dc = CreateEnhMetaFileA(screen, path.c_str(), &frame, nullptr);
    ReleaseDC(nullptr, screen);
    if (!dc) return false;
    std::vector<Box> all{{{0, 0, width, height}, RGB(255, 255, 255)}};
    all.insert(all.end(), boxes.begin(), boxes.end());
    drawBoxes(dc, all);
    HENHMETAFILE meta = CloseEnhMetaFile(dc);
    if (!meta) return false;
    DeleteEnhMetaFile(meta);
    return true;
}

bool IconPixels::transparent(int x, int y) const {
    const size_t i = static_cast<size_t>(y * width + x);
    return white[i] != black[i];
}

COLORREF IconPixels::onWhite(int x, int y) const { return white[static_cast<size_t>(y * width + x)]; }

IconPixels drawIcon(HICON icon, int width, int height) {
    IconPixels result;
    result.width = width;
    result.height = height;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const std::pair<COLORREF, std::vector<COLORREF>*> grounds[] = {{RGB(255, 255, 255), &result.white},
                                                                   {RGB(0, 0, 0), &result.black}};
    for (auto [ground, target] : grounds) {
        HBRUSH brush = CreateSolidBrush(ground);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) target->push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return result;
}

} // namespace toolstest
