#include "core/ColourTheme.h"

#include "platform/Form.h"
#include "platform/SystemTheme.h"

namespace rz {

namespace {

std::vector<TForm*> g_windows;

// What the palette in force was made from: a new one only when that changes.
struct Made {
    PaletteKind kind = PaletteKind::Light;
    COLORREF accent = CLR_INVALID;
};
Made g_made;

void Repaint(TForm& window, bool dark) {
    UseDarkTitleBar(window.Handle(), dark);
    if (window.Visible())
        ::RedrawWindow(window.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace

PaletteKind ChosenPaletteKind(ColourChoice choice, bool appsDark, bool highContrast) {
    if (highContrast) return PaletteKind::HighContrast;
    switch (choice) {
        case ColourChoice::Light: return PaletteKind::Light;
        case ColourChoice::Dark: return PaletteKind::Dark;
        default: return appsDark ? PaletteKind::Dark : PaletteKind::Light;
    }
}

void LinkColouredWindows(std::vector<TForm*> windows) { g_windows = std::move(windows); }

bool FollowColourTheme(bool force) {
    const bool highContrast = HighContrastOn();
    // The registry is read only where its answer counts.
    const bool appsDark = !highContrast && Settings.Colours == ColourChoice::AsWindows && AppsUseDarkTheme();
    const Made wanted{ChosenPaletteKind(Settings.Colours, appsDark, highContrast), ::GetSysColor(COLOR_HIGHLIGHT)};
    const bool changed =
        wanted.kind != g_made.kind || (wanted.kind == PaletteKind::Dark && wanted.accent != g_made.accent);
    if (!changed && !force) return false;
    g_made = wanted;
    const bool dark = wanted.kind == PaletteKind::Dark;
    if (changed) UsePalette(dark ? Palette::Dark(wanted.accent) : Palette::System(highContrast));
    UsePlatformDarkMenus(dark);
    for (TForm* window : g_windows) Repaint(*window, dark);
    return changed;
}

}  // namespace rz
