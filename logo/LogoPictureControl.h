// The provider's logo on the new-connection form: a subclass of its static picture control
// that reads Logo.png, keeps it as an off-screen picture scaled to the form's DPI (its pixel
// size counts at 96 DPI) and paints it, exact magenta transparent, whenever the control's
// background is erased.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

#include "logo/LogoArea.h"

class DataFiles;
class MemoryDC;
class PngImage;
class UserSide;

class LogoPictureControl {
public:
    // The one colour drawn as transparent; red 255, green 0, blue 254 is drawn.
    static constexpr COLORREF kTransparentColour =
        RGB(kLogoTransparentColour.red, kLogoTransparentColour.green, kLogoTransparentColour.blue);

    // `user` shows the decoding failure message and must outlive the control.
    explicit LogoPictureControl(UserSide& user);
    ~LogoPictureControl();
    LogoPictureControl(const LogoPictureControl&) = delete;
    LogoPictureControl& operator=(const LogoPictureControl&) = delete;

    // Subclasses `control` (the form's static control 1023) until it is destroyed or this
    // object goes; a control attached before is let go first. False when `control` is null
    // or cannot be subclassed.
    bool Attach(HWND control);

    // Reads the file at `path` (code page 932), decodes it and builds the picture that the
    // next background erase paints. False, with the logo loaded before kept, when no path is
    // given or nothing exists there. Otherwise the earlier logo is released first, and false
    // means nothing will be painted: the file cannot be opened or reads as empty, the path
    // contains neither ".png" nor ".PNG", the file is too large or does not decode
    // ("PNGエラー" has then been shown once), or the control has no device context.
    bool LoadFile(const char* path);

    // Loads the logo at `path` as `files` keep it: from the bytes they hold (a kit carried
    // by the program file), read as LoadFile reads a file's bytes, or else with LoadFile.
    bool Load(const DataFiles& files, const char* path);

private:
    static LRESULT SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                void* self);
    LRESULT OnEraseBackground(HWND window, WPARAM wParam, LPARAM lParam);
    bool BuildPicture(std::unique_ptr<PngImage> image);
    // The picture of the loaded image at the control's present DPI; false leaves none.
    bool RenderPicture();
    void Detach();
    void Release();

    UserSide& user_;
    HWND control_ = nullptr;
    std::unique_ptr<PngImage> image_;
    std::unique_ptr<MemoryDC> picture_;
};
