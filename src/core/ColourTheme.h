#pragma once
// Which palette the program paints with, and putting it into effect: the
// settings' choice, else the system's app theme; high contrast wins over
// both. The platform's dark menus and title bars follow where it has them.

#include <vector>

#include "core/Settings.h"
#include "platform/Palette.h"

namespace rz {

class TForm;

PaletteKind ChosenPaletteKind(ColourChoice choice, bool appsDark, bool highContrast);

// The windows whose title bars follow the palette and that are repainted when it changes.
void LinkColouredWindows(std::vector<TForm*> windows);

// Makes the palette the settings and the system ask for the one in force
// when it differs from it (or force is set), with the platform's menus and
// the linked windows' title bars to match; the linked windows that show
// are repainted. True when the palette was replaced.
bool FollowColourTheme(bool force = false);

}  // namespace rz
