#pragma once
// The real forms around a temporary data folder, with the system's menu font
// and memory figures given by the test, and readers for the settings file,
// the autostart value and the fonts the dialogs' controls show.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/AppFixture.h"
#include "core/Settings.h"
#include "dialogs/form_about.h"
#include "dialogs/form_config.h"
#include "platform/MemoryStatus.h"

namespace rztest {

class DialogTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        rz::Settings = rz::TSettings{};
        rz::WriteAutostart(false);
        rz::SystemMenuFont.Replace([this] { return menuFont; });
        rz::ReadMemoryStatus.Replace([this] {
            ++memoryQueries;
            return memory;
        });
    }
    void TearDown() override {
        rz::ReadMemoryStatus.Restore();
        rz::SystemMenuFont.Restore();
        rz::WriteAutostart(false);
        rz::Settings = rz::TSettings{};
        AppTest::TearDown();
    }

    rz::TFormConfig& Config() const { return rz::FormConfig(); }
    rz::TFormAbout& About() const { return rz::FormAbout(); }

    std::string Ini(const char* section, const char* key) const {
        char buffer[256] = {};
        ::GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof(buffer), (dir / "zuvizove.ziz").c_str());
        return buffer;
    }
    static bool AutostartPresent() {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, rz::kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        LONG rc = ::RegQueryValueExA(key, rz::kAutostartValueName, nullptr, nullptr, nullptr, nullptr);
        ::RegCloseKey(key);
        return rc == ERROR_SUCCESS;
    }
    static LOGFONTA FontOf(HFONT font) {
        LOGFONTA lf{};
        ::GetObjectA(font, sizeof(lf), &lf);
        return lf;
    }
    static int Points(const LOGFONTA& lf) {
        HDC screen = ::GetDC(nullptr);
        int points = ::MulDiv(-lf.lfHeight, 72, ::GetDeviceCaps(screen, LOGPIXELSY));
        ::ReleaseDC(nullptr, screen);
        return points;
    }
    // As a mouse click does: the control's own notification reaches the form.
    static void Press(const rz::TControl& c) { ::SendMessageA(c.Handle(), BM_CLICK, 0, 0); }
    static void Choose(rz::TComboBox& list, const std::string& text) {
        ::SendMessageA(list.Handle(), CB_SETCURSEL, list.IndexOf(text), 0);
        ::SendMessageA(::GetParent(list.Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list.Handle()));
    }

    rz::MenuFontInfo menuFont{"Tahoma", 8};
    rz::MemoryStatus memory{45, 1073741824ULL};
    int memoryQueries = 0;
};

}  // namespace rztest
