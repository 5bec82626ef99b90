// The logo picture control: loading Logo.png, the off-screen picture, and painting it with
// exact magenta transparent.
#include "logo/LogoPictureControl.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "logo/MemoryDC.h"
#include "logo/PngImage.h"
#include "res/resource.h"
#include "ui/Subclass.h"
#include "ui/UserSide.h"

namespace {

constexpr DWORD kDestinationAndNotSource = 0x00220326;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Copies the decoded rows into the picture. One block transfer of a converted buffer rather
// than a pixel at a time, so that even the largest accepted logo loads without a pause.
bool CopyPixels(const PngImage& image, HDC picture) {
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
    return StretchDIBits(picture, 0, 0, width, height, 0, 0, width, height, pixels.get(), &info,
                         DIB_RGB_COLORS, SRCCOPY) == height;
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

    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        length = std::ftell(file);
    }
    if (length <= 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return false;
    }
    if (length > kMaxFileBytes) {
        std::fclose(file);
        user_.ShowAppMessage(Message{IDS_PNG_ERROR}, MessageIcon::Warning);
        return false;
    }
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[length]);
    const size_t read = buffer ? std::fread(buffer.get(), 1, static_cast<size_t>(length), file) : 0;
    std::fclose(file);
    if (read == 0) {
        return false;
    }
    if (std::strstr(path, ".png") == nullptr && std::strstr(path, ".PNG") == nullptr) {
        return false;
    }
    return BuildPicture(buffer.get(), read);
}

bool LogoPictureControl::BuildPicture(const unsigned char* data, size_t length) {
    if (data == nullptr || length == 0 || control_ == nullptr) {
        return false;
    }
    HDC reference = GetDC(control_);
    if (reference == nullptr) {
        return false;
    }
    bool built = false;
    std::unique_ptr<PngImage> image(new (std::nothrow) PngImage(user_));
    // A failed decode has shown its message; an empty image gets no picture.
    if (image && image->LoadFromMemory(data, length)) {
        const RECT area{0, 0, static_cast<LONG>(image->Width()),
                        static_cast<LONG>(image->Height())};
        std::unique_ptr<MemoryDC> picture(new (std::nothrow) MemoryDC(reference, area));
        if (picture && picture->IsValid() && CopyPixels(*image, picture->Handle())) {
            image_ = std::move(image);
            picture_ = std::move(picture);
            built = true;
        }
    }
    ReleaseDC(control_, reference);
    return built;
}

LRESULT LogoPictureControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         void* self) {
    LogoPictureControl* control = static_cast<LogoPictureControl*>(self);
    switch (message) {
        case WM_ERASEBKGND:
            return control->OnEraseBackground(window, wParam, lParam);
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
    const int width = static_cast<int>(image_->Width());
    const int height = static_cast<int>(image_->Height());
    const RECT area{0, 0, width, height};
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
