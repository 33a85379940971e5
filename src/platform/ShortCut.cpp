#include "platform/ShortCut.h"

#include <cstring>

namespace rz {

namespace {

struct NamedKey {
    BYTE key;
    const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

bool StartsWithNoCase(const std::string& s, size_t at, const char* prefix) {
    size_t n = std::strlen(prefix);
    return s.size() - at >= n && ::_strnicmp(s.c_str() + at, prefix, n) == 0;
}

}  // namespace

std::string KeyName(BYTE key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    for (const NamedKey& k : kNamedKeys) {
        if (k.key == key) return k.name;
    }
    UINT scan = ::MapVirtualKeyA(key, 0 /* MAPVK_VK_TO_VSC */);
    char name[64] = {};
    if (scan && ::GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof(name)) > 0) return name;
    return {};
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = KeyName(static_cast<BYTE>(shortCut & 0xFF));
    if (name.empty()) return {};
    std::string text;
    if (shortCut & kShiftBit) text += "Shift+";
    if (shortCut & kCtrlBit) text += "Ctrl+";
    if (shortCut & kAltBit) text += "Alt+";
    return text + name;
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut mods = 0;
    size_t at = 0;
    for (;;) {
        if (StartsWithNoCase(text, at, "Shift+")) {
            mods |= kShiftBit;
            at += 6;
        } else if (StartsWithNoCase(text, at, "Ctrl+")) {
            mods |= kCtrlBit;
            at += 5;
        } else if (StartsWithNoCase(text, at, "Alt+")) {
            mods |= kAltBit;
            at += 4;
        } else if (StartsWithNoCase(text, at, "^")) {
            mods |= kCtrlBit;
            at += 1;
        } else {
            break;
        }
    }
    std::string key = text.substr(at);
    if (key.empty()) return 0;
    for (int vk = 1; vk <= 0xFF; ++vk) {
        std::string name = KeyName(static_cast<BYTE>(vk));
        if (!name.empty() && ::lstrcmpiA(name.c_str(), key.c_str()) == 0) return static_cast<TShortCut>(mods | vk);
    }
    return 0;
}

}  // namespace rz
