// One data-exchange pass between a dialog's members and its controls. Texts travel as
// code page 932 bytes in caller buffers; reads are capped at 254 bytes and never end in
// half a double-byte character.
#pragma once

#include <windows.h>

#include <cstddef>

class Control;
class Dialog;

constexpr size_t kControlTextSize = 255;  // 254 bytes of text and the terminator

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate)
        : dialog_(dialog), saving_(saveAndValidate) {}

    bool Saving() const { return saving_; }

    // Text of a control; when saving, at most min(size, kControlTextSize) - 1 bytes.
    void Text(int id, char* buffer, size_t size);
    template <size_t N>
    void Text(int id, char (&buffer)[N]) {
        Text(id, buffer, N);
    }
    void Check(int id, int& value);
    // Index of the checked radio button of the group that starts at `firstId`; -1 none.
    void Radio(int firstId, int& value);
    // Selected row of a list or drop-down list; -1 none.
    void ListIndex(int id, int& value);
    // Subclasses the control once, on the first exchange.
    void Bind(int id, Control& control);
    // Keeps the control's window handle, for controls that need no subclass.
    void Bind(int id, HWND& control);

private:
    Dialog& dialog_;
    bool saving_;
};

// Reads a window's text into `buffer` the same capped, character-safe way. The whole text
// passes through a heap buffer that is wiped before it is released (password boxes).
void ReadControlText(HWND window, char* buffer, size_t size);
