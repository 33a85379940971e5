#include "MenuBench.h"

#include <windows.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "MenuStores.h"
#include "app/Forms.h"
#include "app/InitFinit.h"
#include "core/ColourTheme.h"
#include "core/Settings.h"
#include "manager/form_items.h"
#include "menu/form_general.h"
#include "menu/form_shortcuts.h"

namespace rzbench {

namespace {

constexpr int kFirstOpenings = 5;

// Where every menu opens: clear of the screen edges.
constexpr int kMenuX = 60;
constexpr int kMenuY = 40;

// Raised when a menu loop has nothing left to do: the menu is shown.
std::function<void()> g_onIdle;
WNDPROC g_formProc = nullptr;

LRESULT CALLBACK IdleProbe(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENTERIDLE && wp == MSGF_MENU && g_onIdle) g_onIdle();
    return ::CallWindowProcA(g_formProc, h, msg, wp, lp);
}

struct Trip {
    double top = -1;
    double sub = -1;
};

// One opening: the time until the menu idles shown; then Down to its first
// entry, Right, and the time until that folder idles shown; then Escape.
Trip TimeTrip(HWND owner, const std::function<void()>& open) {
    Trip t;
    int stage = 0;
    double mark = 0;
    Stopwatch clock;
    auto key = [owner](WPARAM vk) { ::PostMessageA(owner, WM_KEYDOWN, vk, 0); };
    g_onIdle = [&] {
        switch (stage++) {
            case 0:
                t.top = clock.Ms();
                key(VK_DOWN);
                break;
            case 1:
                mark = clock.Ms();
                key(VK_RIGHT);
                break;
            case 2:
                t.sub = clock.Ms() - mark;
                key(VK_ESCAPE);
                key(VK_ESCAPE);
                break;
            default: key(VK_ESCAPE);
        }
    };
    ::SetCursorPos(kMenuX, kMenuY);
    clock = Stopwatch();
    open();
    g_onIdle = nullptr;
    return t;
}

// The same entries as plain strings in a plain HMENU, the first folder
// filled when it opens: what the platform alone costs.
class BareMenu {
public:
    explicit BareMenu(MenuShape shape) : shape_(std::move(shape)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &BareMenu::Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "rzbenchBareMenu";
        ::RegisterClassA(&wc);
        window_.reset(::CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        wc.hInstance, nullptr));
        if (!window_) throw std::runtime_error("cannot create the bare menu's window");
        current_ = this;
    }
    ~BareMenu() { current_ = nullptr; }
    HWND Window() const { return window_.get(); }

    void Show() {
        rz::unique_hmenu top(::CreatePopupMenu());
        UINT id = 1;
        for (size_t i = 0; i < shape_.top.size(); ++i) {
            if (shape_.topFolder[i]) {
                HMENU sub = ::CreatePopupMenu();
                if (i == 0) big_ = sub;
                ::AppendMenuA(top.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), shape_.top[i].c_str());
            } else {
                ::AppendMenuA(top.get(), MF_STRING, id++, shape_.top[i].c_str());
            }
        }
        // The program's own tail.
        ::AppendMenuA(top.get(), MF_STRING, id++, "Sysmenu");
        ::AppendMenuA(top.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), "Razaveza Kit");
        ::AppendMenuA(top.get(), MF_STRING, id++, "Close");
        POINT p{};
        ::GetCursorPos(&p);
        ::SetForegroundWindow(window_.get());
        ::TrackPopupMenuEx(top.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, p.x, p.y,
                           window_.get(), nullptr);
        ::PostMessageA(window_.get(), WM_NULL, 0, 0);
        big_ = nullptr;
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        BareMenu* self = current_;
        if (self && msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wp) == self->big_ &&
            ::GetMenuItemCount(self->big_) == 0) {
            UINT id = 1000;
            for (const std::string& caption : self->shape_.big)
                ::AppendMenuA(self->big_, MF_STRING, id++, caption.c_str());
            return 0;
        }
        if (msg == WM_ENTERIDLE && wp == MSGF_MENU && g_onIdle) g_onIdle();
        return ::DefWindowProcA(h, msg, wp, lp);
    }

    static inline BareMenu* current_ = nullptr;
    MenuShape shape_;
    unique_hwnd window_;
    HMENU big_ = nullptr;
};

void WriteSettings(const std::string& dataFolder) {
    WriteWholeFile(dataFolder + "zuvizove.ziz",
                   "[General Settings]\r\nTaskBar=0\r\nOpenLauncherHotkey=Ctrl+L\r\n"
                   "[Font Settings]\r\nWindowsDraw=1\r\nFontName=Tahoma\r\nFontSize=8\r\n"
                   "[Misc Settings]\r\nDrawMenuBar=1\r\n");
}

void OpenLauncherMenu() { rz::FormGeneral().JvApplicationHotKeyHotKey(&rz::FormGeneral().JvApplicationHotKey); }

void SetDrawing(bool platform, rz::ColourChoice colours = rz::ColourChoice::Light) {
    rz::Settings.WindowsDraw = platform;
    rz::Settings.Colours = colours;
    rz::FollowColourTheme();
    rz::FormShortCuts().ApplyMenuDrawing();
}

// Runs the message loop for ms milliseconds; returns the timers that ticked.
int Idle(double ms) {
    std::set<std::pair<HWND, WPARAM>> timers;
    Stopwatch clock;
    for (double left = ms; left > 0; left = ms - clock.Ms()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
        MSG m;
        while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_TIMER) timers.insert({m.hwnd, m.wParam});
            ::TranslateMessage(&m);
            ::DispatchMessageA(&m);
        }
    }
    return static_cast<int>(timers.size());
}

}  // namespace

// The program as it starts on dataFolder, with the menu's idle reported.
HWND StartProgram(const std::string& dataFolder) {
    WriteSettings(dataFolder);
    rz::OverrideDataFolder(dataFolder);
    rz::CreateForms();
    rz::StartUp();
    HWND owner = rz::FormGeneral().Handle();
    g_formProc =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IdleProbe)));
    return owner;
}

RunFigures MenuRun(const std::string& dataFolder, const std::string& shapeFile, int opens) {
    HWND owner = StartProgram(dataFolder);
    BareMenu bare(ReadMenuShape(shapeFile));
    auto plain = [&bare] { bare.Show(); };
    // Platform drawing, then own drawing light and dark; each beside the
    // bare menu opened in turn with it, since the machine's load drifts.
    const char* const modes[] = {"Ours", "Own", "OwnDark"};
    std::vector<double> allBare[2];
    RunFigures f;
    for (int mode = 0; mode < 3; ++mode) {
        SetDrawing(mode == 0, mode == 2 ? rz::ColourChoice::Dark : rz::ColourChoice::Light);
        Idle(200);
        std::vector<double> bareTimes[2], ours[2];
        // Two openings of each first, left out: the first drawing loads fonts.
        for (int i = -2; i < opens; ++i) {
            const Trip b = TimeTrip(bare.Window(), plain);
            const Trip o = TimeTrip(owner, OpenLauncherMenu);
            if (i < 0) continue;
            for (int part = 0; part < 2; ++part) {
                bareTimes[part].push_back(part == 0 ? b.top : b.sub);
                allBare[part].push_back(part == 0 ? b.top : b.sub);
                ours[part].push_back(part == 0 ? o.top : o.sub);
            }
        }
        for (int part = 0; part < 2; ++part) {
            const std::string name = std::string(part == 0 ? "top" : "sub");
            f[name + modes[mode]] = Median(ours[part]);
            f[name + "Bare" + modes[mode]] = Median(bareTimes[part]);
        }
    }
    f["topBare"] = Median(allBare[0]);
    f["subBare"] = Median(allBare[1]);
    f["links"] = rz::FormItems().store.tables.paths.Length();
    return f;
}

RunFigures FootprintRun(const std::string& emptyFolder, const std::string& loadedFolder, int opens) {
    RunFigures f;
    HWND owner = StartProgram(emptyFolder);
    Idle(300);
    f["privEmpty"] = CurrentMemory().privateMb;
    rz::FormItems().store.SetDataFolder(loadedFolder);
    rz::ReloadItems();
    Idle(300);
    f["privLoaded"] = CurrentMemory().privateMb;
    f["links"] = rz::FormItems().store.tables.paths.Length();
    f["gdiLoaded"] = GuiObjects(GR_GDIOBJECTS);
    f["userLoaded"] = GuiObjects(GR_USEROBJECTS);
    for (int i = 0; i < opens; ++i) {
        if (i == 0 || i == opens / 2) SetDrawing(i == 0);
        TimeTrip(owner, OpenLauncherMenu);
        // The first openings in each drawing mode make what is kept for good
        // (the platform's menu bitmaps, the fonts).
        if (i == opens / 2 + kFirstOpenings - 1) {
            f["gdiFirst"] = GuiObjects(GR_GDIOBJECTS);
            f["userFirst"] = GuiObjects(GR_USEROBJECTS);
        }
    }
    Idle(300);
    f["gdiOpened"] = GuiObjects(GR_GDIOBJECTS);
    f["userOpened"] = GuiObjects(GR_USEROBJECTS);
    f["timers"] = Idle(1500);
    return f;
}

}  // namespace rzbench
