#include "platform/Bitmap.h"

#include <cstring>
#include <string>

#include "platform/FileIO.h"

namespace rz {

TBitmap::TBitmap(int width, int height) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<uint32_t*>(bits);
    dc_.reset(::CreateCompatibleDC(nullptr));
    if (dc_ && bitmap_) oldBitmap_ = ::SelectObject(dc_.get(), bitmap_.get());
}

TBitmap::~TBitmap() {
    if (dc_ && oldBitmap_) ::SelectObject(dc_.get(), oldBitmap_);
}

uint32_t TBitmap::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    ::GdiFlush();
    return bits_[y * width_ + x];
}

void TBitmap::SetPixel(int x, int y, uint32_t argb) {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    ::GdiFlush();
    bits_[y * width_ + x] = argb;
}

uint32_t* TBitmap::Bits() {
    ::GdiFlush();
    return bits_;
}

const uint32_t* TBitmap::Bits() const {
    ::GdiFlush();
    return bits_;
}

bool TBitmap::SaveToFile(const std::string& path) const {
    if (!bits_) return false;
    ::GdiFlush();
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof(ih);
    ih.biWidth = width_;
    ih.biHeight = height_;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = static_cast<DWORD>(width_ * height_ * 4);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof(fh));
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
    for (int y = height_ - 1; y >= 0; --y)
        bytes.append(reinterpret_cast<const char*>(bits_ + y * width_), static_cast<size_t>(width_) * 4);
    return WriteWholeFile(path, bytes);
}

bool TBitmap::LoadFromFile(const std::string& path) {
    if (!dc_) return false;
    unique_hbitmap loaded(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, WidePath(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!loaded) return LoadFromBytes(path);
    BITMAP bm{};
    ::GetObjectA(loaded.get(), sizeof(bm), &bm);
    unique_hdc src(::CreateCompatibleDC(nullptr));
    SelectGuard guard(src.get(), loaded.get());
    return ::BitBlt(dc_.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY) != 0;
}

bool TBitmap::LoadFromBytes(const std::string& path) {
    // LoadImage takes no path past the classic limit; such a picture is read
    // by hand and its DIB copied in.
    std::string bytes;
    if (!ReadWholeFile(path, bytes) || bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return false;
    BITMAPFILEHEADER fh;
    std::memcpy(&fh, bytes.data(), sizeof(fh));
    if (fh.bfType != 0x4D42 || fh.bfOffBits >= bytes.size()) return false;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + sizeof(fh));
    const LONG h = info->bmiHeader.biHeight;
    const LONG w = info->bmiHeader.biWidth;
    const size_t stride = ((static_cast<size_t>(w) * info->bmiHeader.biBitCount + 31) / 32) * 4;
    // A cut file must not be read past its end.
    if (info->bmiHeader.biCompression != BI_RGB || w <= 0 || w > width_ * 64 ||
        fh.bfOffBits + stride * static_cast<size_t>(h < 0 ? -h : h) > bytes.size())
        return false;
    return ::SetDIBitsToDevice(dc_.get(), 0, 0, static_cast<DWORD>(info->bmiHeader.biWidth),
                               static_cast<DWORD>(h < 0 ? -h : h), 0, 0, 0, static_cast<UINT>(h < 0 ? -h : h),
                               bytes.data() + fh.bfOffBits, info, DIB_RGB_COLORS) != 0;
}

}  // namespace rz
