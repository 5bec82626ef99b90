// An off-screen drawing surface: a memory device context holding a bitmap compatible with a
// reference device context, released as a whole.
#pragma once

#include <windows.h>

class MemoryDC {
public:
    // A memory device context and a bitmap of `rect`'s size, both compatible with
    // `reference`, the bitmap selected and the window origin at `rect`'s top-left corner.
    // An empty `rect` stands for the reference's clip box. `reference` is not kept.
    MemoryDC(HDC reference, const RECT& rect);

    // Puts the previous bitmap back, then deletes the bitmap and the device context.
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    // False when the device context or the bitmap could not be had; nothing can be drawn.
    bool IsValid() const { return dc_ != nullptr && bitmap_ != nullptr; }

    HDC Handle() const { return dc_; }
    const RECT& Rect() const { return rect_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    RECT rect_{};
};
