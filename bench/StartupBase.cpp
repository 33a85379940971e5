// The baseline of the start-up case, a window program as the launcher is:
// reads a store's list files, makes the icons, shows the top level in a tree
// view and a menu, then titles its hidden window and waits to be ended.
// Command line: "<data folder>" "<title>".

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "PlatformBaseline.h"

namespace {
// Ended by the watcher; this ends it should the watcher be gone.
constexpr UINT kGiveUpMs = 5 * 60 * 1000;
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3) return 2;
    auto narrow = [](LPCWSTR w) {
        char text[MAX_PATH * 2] = {};
        ::WideCharToMultiByte(CP_UTF8, 0, w, -1, text, sizeof(text), nullptr, nullptr);
        return std::string(text);
    };
    const std::string data = narrow(argv[1]) + "\\";
    const std::string title = narrow(argv[2]);
    ::LocalFree(argv);
    try {
        rzbench::PlatformBaseline base;
        base.Reset();
        base.Load(data, false);
        base.SetTitle(title);
        ::SetTimer(nullptr, 0, kGiveUpMs, nullptr);
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    } catch (const std::exception&) {
        return 1;
    }
    return 0;
}
