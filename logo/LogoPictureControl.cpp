// The logo picture control: loading Logo.png, the off-screen picture, and painting it with
// exact magenta transparent.
#include "logo/LogoPictureControl.h"

#include <new>

#include "logo/MemoryDC.h"
#include "logo/PngImage.h"
#include "res/resource.h"
#include "settings/DataFiles.h"
#include "ui/DpiScale.h"
#include "ui/Subclass.h"
#include "ui/UserSide.h"
#include "ui/WindowDpi.h"

namespace {

constexpr DWORD kDestinationAndNotSource = 0x00220326;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Copies the decoded rows into the picture, stretched to `pictureWidth` x `pictureHeight`.
// One block transfer of a converted buffer rather than a pixel at a time, so that even the
// largest accepted logo loads without a pause. Each picture pixel takes the colour of one logo
// pixel, never a blend, so exact magenta stays exact and the edges of the shape stay sharp.
bool CopyPixels(const PngImage& image, HDC picture, int pictureWidth, int pictureHeight) {
    const LONG width = static_cast<LONG>(image.Width());
    const LONG height = static_cast<LONG>(image.Height());
    const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::unique_ptr<RGBQUAD[]> pixels(new (std::nothrow) RGBQUAD[pixelCount]);
    if (!pixels || image.Rows() == nullptr) {
        return false;
    }
    for (LONG y = 0; y < height; ++y) {
        const unsigned char* source = image.Rows()[y];
        RGBQUAD* target = &pixels[static_cast<size_t>(y) * static_cast<size_t>(width)];
        for (LONG x = 0; x < width; ++x, source += 4) {
            // The fourth byte, alpha or filler, is ignored: the logo is drawn opaque.
            target[x] = RGBQUAD{source[2], source[1], source[0], 0};
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(picture, COLORONCOLOR);
    return StretchDIBits(picture, 0, 0, pictureWidth, pictureHeight, 0, 0, width, height,
                         pixels.get(), &info, DIB_RGB_COLORS, SRCCOPY) > 0;
}

// Draws `width` x `height` pixels of `source` at the origin of `target`, leaving the target
// as it was wherever the source is exactly the transparent colour.
void DrawTransparent(HDC target, HDC source, int width, int height, COLORREF transparent) {
    HDC maskDc = CreateCompatibleDC(target);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    HDC colourDc = CreateCompatibleDC(target);
    HBITMAP colour = CreateCompatibleBitmap(source, width, height);
    if (maskDc != nullptr && mask != nullptr && colourDc != nullptr && colour != nullptr) {
        HGDIOBJ previousMask = SelectObject(maskDc, mask);
        HGDIOBJ previousColour = SelectObject(colourDc, colour);

        // Colour to one bit: the source's background colour becomes 1, all else 0.
        const COLORREF sourceBackground = SetBkColor(source, transparent);
        BitBlt(maskDc, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SetBkColor(source, sourceBackground);

        // One bit to colour turns 0 into the text colour and 1 into the background colour.
        BitBlt(colourDc, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SetTextColor(colourDc, kBlack);
        SetBkColor(colourDc, kWhite);
        BitBlt(colourDc, 0, 0, width, height, maskDc, 0, 0, kDestinationAndNotSource);

        const COLORREF targetText = SetTextColor(target, kBlack);
        const COLORREF targetBackground = SetBkColor(target, kWhite);
        BitBlt(target, 0, 0, width, height, maskDc, 0, 0, SRCAND);
        BitBlt(target, 0, 0, width, height, colourDc, 0, 0, SRCINVERT);
        SetTextColor(target, targetText);
        SetBkColor(target, targetBackground);

        SelectObject(colourDc, previousColour);
        SelectObject(maskDc, previousMask);
    }
    if (colour != nullptr) {
        DeleteObject(colour);
    }
    if (colourDc != nullptr) {
        DeleteDC(colourDc);
    }
    if (mask != nullptr) {
        DeleteObject(mask);
    }
    if (maskDc != nullptr) {
        DeleteDC(maskDc);
    }
}

}  // namespace

LogoPictureControl::LogoPictureControl(UserSide& user) : user_(user) {}

LogoPictureControl::~LogoPictureControl() {
    Detach();
    Release();
}

bool LogoPictureControl::Attach(HWND control) {
    if (control == nullptr) {
        return false;
    }
    Detach();
    if (!AttachSubclass(control, SubclassProc, this)) {
        return false;
    }
    control_ = control;
    return true;
}

void LogoPictureControl::Detach() {
    if (control_ != nullptr) {
        DetachSubclass(control_);
        control_ = nullptr;
    }
}

void LogoPictureControl::Release() {
    picture_.reset();
    image_.reset();
}

bool LogoPictureControl::LoadFile(const char* path) {
    if (path == nullptr || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    Release();
    std::unique_ptr<PngImage> image(new (std::nothrow) PngImage(user_));
    return image && image->LoadFile(path) && BuildPicture(std::move(image));
}

bool LogoPictureControl::Load(const DataFiles& files, const char* path) {
    const char* held = nullptr;
    size_t size = 0;
    if (path == nullptr || !files.HeldBytes(path, &held, &size)) {
        return LoadFile(path);
    }
    Release();
    std::unique_ptr<PngImage> image(new (std::nothrow) PngImage(user_));
    return size > 0 && image &&
           image->LoadFromMemory(reinterpret_cast<const unsigned char*>(held), size) &&
           BuildPicture(std::move(image));
}

bool LogoPictureControl::BuildPicture(std::unique_ptr<PngImage> image) {
    if (control_ == nullptr) {
        return false;
    }
    image_ = std::move(image);
    if (!RenderPicture()) {
        image_.reset();
        return false;
    }
    return true;
}

bool LogoPictureControl::RenderPicture() {
    picture_.reset();
    HDC reference = GetDC(control_);
    if (reference == nullptr) {
        return false;
    }
    const int dpi = WindowDpi(control_);
    const RECT area{0, 0, ScaleForDpi(static_cast<int>(image_->Width()), dpi),
                    ScaleForDpi(static_cast<int>(image_->Height()), dpi)};
    std::unique_ptr<MemoryDC> picture(new (std::nothrow) MemoryDC(reference, area));
    if (picture && picture->IsValid() &&
        CopyPixels(*image_, picture->Handle(), area.right, area.bottom)) {
        picture_ = std::move(picture);
    }
    ReleaseDC(control_, reference);
    return picture_ != nullptr;
}

LRESULT LogoPictureControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         void* self) {
    LogoPictureControl* control = static_cast<LogoPictureControl*>(self);
    switch (message) {
        case WM_ERASEBKGND:
            return control->OnEraseBackground(window, wParam, lParam);
        case kDpiChangedAfterParent:
            if (control->image_ && control->RenderPicture()) {
                InvalidateRect(window, nullptr, TRUE);
            }
            break;
        case WM_NCDESTROY:
            control->Detach();
            control->Release();
            break;
        default:
            break;
    }
    return CallPreviousProc(window, message, wParam, lParam);
}

LRESULT LogoPictureControl::OnEraseBackground(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallPreviousProc(window, WM_ERASEBKGND, wParam, lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (!image_ || !picture_ || dc == nullptr) {
        return result;
    }
    const RECT area = picture_->Rect();
    const int width = area.right;
    const int height = area.bottom;
    if (!RectVisible(dc, &area)) {
        return result;
    }
    MemoryDC work(dc, area);
    if (!work.IsValid()) {
        return result;
    }
    BitBlt(work.Handle(), 0, 0, width, height, picture_->Handle(), 0, 0, SRCCOPY);
    DrawTransparent(dc, work.Handle(), width, height, kTransparentColour);
    return result;
}
