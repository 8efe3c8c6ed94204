#pragma once
// Top-level window base: fixed client size, centred or placed by its owner,
// shown modeless or modal, optionally always on top, with a close query.
#include <windows.h>

#include <string>

#include "gui/Window.h"

namespace gui {

class Form {
public:
    struct Params {
        const wchar_t* className;  // registered once per form class; the window's class name
        std::wstring caption;
        int clientWidth = 0, clientHeight = 0;
        DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        DWORD exStyle = 0;
        HFONT font = nullptr;
        HWND owner = nullptr;
        HICON icon = nullptr;
    };

    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND Handle() const { return hwnd_; }
    static Form* FromHandle(HWND wnd);

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);
    HFONT Font() const { return font_; }
    Box ClientBox() const;  // 0, 0, client width, client height
    Box WindowBox() const;  // outer bounds in screen coordinates
    void SetWindowBox(const Box& box);
    void CenterOnScreen();

    // Runs FormShow, then makes the window visible.
    void Show();
    void Hide();
    bool Visible() const;
    // Shows the window with every other window of the program disabled and
    // returns when it closes; the result is what EndModal was given.
    int ShowModal();
    bool Modal() const { return modal_; }
    // Asks the window to close: FormCloseQuery decides, then FormClose runs.
    // A modal window ends its showing; the main window ends the message loop.
    void Close();
    void BringToFront();
    // The control that gets the keyboard focus when the window is activated.
    void SetActiveControl(const Control& control);

protected:
    void CreateHandle(const Params& p);
    void DestroyHandle();
    void EndModal(int result);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    virtual void FormShow() {}
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}
    virtual void FormResize() {}

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    bool modal_ = false;
    bool modalDone_ = false;
    int modalResult_ = 0;
};

}  // namespace gui
