#pragma once
// Thin window base: the object is handed to its window through the creating
// thread (never through the CREATESTRUCT, which any process can send), lives
// in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY, and every message goes
// to the virtual HandleMessage. No exception leaves the window procedure.

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
    // Whether a creation or destruction message is the system's, told by
    // this thread's own CreateHandle or DestroyWindow.
    static bool OwnLifeMessage(const TWindow* self, HWND hwnd, UINT msg);
    HWND hwnd_ = nullptr;
    bool creating_ = false;
    bool destroying_ = false;
};

}  // namespace rz
