#pragma once
// The colours of everything the program paints itself, asked by their
// system colour index (COLOR_MENU, COLOR_HIGHLIGHT ...). Light and high
// contrast are the system's colours as they are at each use; dark is a set
// of dark tones with the system's highlight, each text colour made legible
// against its background in one place. A theme change replaces the palette
// in force; whoever holds the old one (an open menu) keeps it until done.

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/Handles.h"

namespace rz {

enum class PaletteKind { Light, Dark, HighContrast };

class Palette {
public:
    static std::shared_ptr<const Palette> System(bool highContrast = false);
    // accent: the system's highlight, darkened where white text on it would not read.
    static std::shared_ptr<const Palette> Dark(COLORREF accent);

    PaletteKind Kind() const { return kind_; }
    bool IsDark() const { return kind_ == PaletteKind::Dark; }
    COLORREF Colour(int sysColour) const;
    // Owned by the palette (or the system's): never deleted by the caller.
    HBRUSH Brush(int sysColour) const;

    // A text colour and the background it is drawn on, with the contrast
    // the dark palette gives them at least.
    struct TextOnBackground {
        int text;
        int background;
        double ratio;
    };
    static const std::vector<TextOnBackground>& TextPairs();

    explicit Palette(PaletteKind kind) : kind_(kind) {}

private:
    static constexpr int kColours = COLOR_MENUBAR + 1;
    PaletteKind kind_;
    std::array<COLORREF, kColours> colours_{};
    mutable std::array<unique_hbrush, kColours> brushes_;
};

// Contrast as the accessibility guidelines define it: 1 (same) to 21 (black on white).
double ContrastRatio(COLORREF a, COLORREF b);
// colour, moved toward black or white (whichever parts better from
// against) just enough to reach ratio against it.
COLORREF WithContrast(COLORREF colour, COLORREF against, double ratio);

std::shared_ptr<const Palette> CurrentPalette();
void UsePalette(std::shared_ptr<const Palette> palette);

// The colours of a menu's parts the program paints: the palette in force,
// except where the platform draws the entries without dark menus of its
// own, whose light look the parts then keep.
std::shared_ptr<const Palette> MenuPalette(bool platformDrawn);

}  // namespace rz
