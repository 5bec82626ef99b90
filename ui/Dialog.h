// The dialog base: a window over a dialog template, run modally or created modeless, with
// a static message map, one data-exchange routine and a pre-translate step. A template
// without a position of its own opens centred over its visible owner, else on the screen.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "ui/MessageMap.h"

class DataExchange;

class Dialog {
public:
    explicit Dialog(UINT templateId, HWND owner = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally and returns the value it ended with (-1 when it could not
    // be created).
    INT_PTR RunModal();

    // Creates the dialog modeless (hidden unless the template says visible).
    bool Create(HWND owner);
    void Destroy();

    // Ends a modal run with `result`; for a modeless dialog only hides it.
    void End(INT_PTR result);

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // Moves values between the members and the controls: true reads the controls.
    bool UpdateData(bool saveAndValidate);

protected:
    virtual const MessageMapEntry* MessageMap() const { return nullptr; }
    virtual void DoDataExchange(DataExchange& dx);

    // Called once the window exists; the base moves the members into the controls.
    // Returns TRUE to let the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnDestroyed() {}

    // Sees every message meant for this dialog or its controls before dialog processing;
    // true discards it.
    virtual bool PreTranslateMessage(MSG* msg);

    // Gives the window its own task-bar button (application-window extended style).
    void ShowOnTaskBar();
    // Makes `icon` the window's large and small icon.
    void SetIcons(HICON icon);
    // Gives control `id` the focus as the Tab key would, so an edit's text is selected.
    void GotoControl(int id);
    // Enables `field` exactly while its check box is `ticked`; `follow` (the box was just
    // ticked by the user) also gives the field the focus, where the next keys are meant.
    void UnlockWithBox(HWND field, int ticked, bool follow);
    // An arrow key's key-down moves the focus to the next (Down, Right) or previous (Up,
    // Left) tab stop and is consumed: the dialog manager's own arrows also stop on labels,
    // which show no focus. False for any other message.
    bool MoveFocusByArrow(const MSG* msg);
    // Widens the labels `ids` (of one column) when a text is wider than its label in the
    // dialog's font, all by the largest shortfall: controls right of the column move over,
    // those reaching across it grow with it, push buttons keep their centre, and the
    // window grows within its screen's work area and is centred again.
    void WidenLabelsToText(std::initializer_list<int> ids);

    // Discards key-down of Enter and Escape (the two windows that must not close by key).
    static bool IsEnterOrEscapeDown(const MSG* msg);

    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    const MessageMapEntry* FindEntry(UINT message, WPARAM wParam) const;

    UINT templateId_;
    HWND owner_;
    bool modal_ = false;
    bool dataBound_ = false;
    friend class DataExchange;
};
