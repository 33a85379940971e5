#include "platform/Bitmap.h"

#include <cstdio>
#include <memory>
#include <vector>

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
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) return false;
    bool ok = std::fwrite(&fh, sizeof(fh), 1, f.get()) == 1 &&
              std::fwrite(&ih, sizeof(ih), 1, f.get()) == 1;
    for (int y = height_ - 1; ok && y >= 0; --y)
        ok = std::fwrite(bits_ + y * width_, 4, width_, f.get()) == static_cast<size_t>(width_);
    return std::fclose(f.release()) == 0 && ok;
}

bool TBitmap::LoadFromFile(const std::string& path) {
    unique_hbitmap loaded(static_cast<HBITMAP>(
        ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!loaded || !dc_) return false;
    BITMAP bm{};
    ::GetObjectA(loaded.get(), sizeof(bm), &bm);
    unique_hdc src(::CreateCompatibleDC(nullptr));
    SelectGuard guard(src.get(), loaded.get());
    return ::BitBlt(dc_.get(), 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY) != 0;
}

}  // namespace rz
