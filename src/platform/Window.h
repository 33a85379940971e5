#pragma once
// Thin window base: the object pointer travels in lpCreateParams, lives in
// GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY, and every message goes to
// the virtual HandleMessage. No exception leaves the window procedure.

#include <windows.h>

#include <string>

#include "platform/Component.h"

namespace rz {

class TWindow : public TComponent {
public:
    explicit TWindow(std::string name = {}) : TComponent(std::move(name)) {}
    ~TWindow() override;
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    void DestroyHandle();

protected:
    // Registers className once per process (CS_DBLCLKS, arrow cursor); only
    // the application window shows the program's icon. Both raise EOSError
    // when the system refuses.
    static void RegisterClassOnce(const char* className, HBRUSH background, bool withIcon = false);
    void CreateHandle(DWORD exStyle, const char* className, const std::string& title, DWORD style, int x, int y, int w,
                      int h, HWND parent);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

}  // namespace rz
