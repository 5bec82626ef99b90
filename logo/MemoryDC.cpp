// Off-screen drawing surface.
#include "logo/MemoryDC.h"

MemoryDC::MemoryDC(HDC reference, const RECT& rect) : rect_(rect) {
    if (IsRectEmpty(&rect_)) {
        GetClipBox(reference, &rect_);
    }
    dc_ = CreateCompatibleDC(reference);
    if (dc_ == nullptr) {
        return;
    }
    bitmap_ = CreateCompatibleBitmap(reference, rect_.right - rect_.left, rect_.bottom - rect_.top);
    if (bitmap_ == nullptr) {
        return;
    }
    previousBitmap_ = SelectObject(dc_, bitmap_);
    SetWindowOrgEx(dc_, rect_.left, rect_.top, nullptr);
}

MemoryDC::~MemoryDC() {
    if (dc_ != nullptr) {
        if (previousBitmap_ != nullptr) {
            SelectObject(dc_, previousBitmap_);
        }
        DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}
