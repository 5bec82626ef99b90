// The main menu's heading: a subclassed static text that owns its font, text colour and
// background brushes, so it can be drawn in a large bold face the dialog font lacks.
// It also carries two behaviours this program never switches on (flashing, a custom
// cursor) and opens its own text when clicked.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Control.h"

class HeadingLabel : public Control {
public:
    HeadingLabel();
    ~HeadingLabel() override;

    // Each re-creates the font and redraws the label at once. `height` is the character
    // height in pixels at 96 DPI; the font gets it scaled to the DPI the label is drawn at,
    // and follows that DPI when it changes. A text that would not fit the label at that
    // height gets the largest height at which it does (also after each new text).
    void SetBold(int bold);
    void SetSize(int height);
    void SetFace(const char* face);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnReflectedColor(UINT colorType, HDC dc);
    // `wanted` pixels, or less when the label's text would not fit at that height.
    int FittingHeight(int wanted) const;
    void RecreateFont();

    COLORREF textColor_;
    HBRUSH normalBrush_;
    HBRUSH flashBrush_;
    LOGFONTA fontDescription_;
    HFONT font_ = nullptr;
    int designHeight_ = 0;  // SetSize's height; 0 keeps the stock font's
    std::string savedText_;
    bool flashState_ = false;
    bool link_ = false;
    bool transparent_ = true;
    int flashType_ = 0;  // 0 none, 1 text flash, 2 background flash
    HCURSOR cursor_ = nullptr;
};
