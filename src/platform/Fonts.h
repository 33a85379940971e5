#pragma once
// Fonts named by face and point size, as the settings give them.

#include <string>

#include "platform/Handles.h"

namespace rz {

// A normal-weight font of face at points for a display of dpi, for callers
// that change more before creating it.
LOGFONTA PointLogFont(const std::string& face, int points, int dpi);
// Null when the system refuses the font.
unique_hfont CreatePointFont(const std::string& face, int points, int dpi, bool underline = false);
// The font the system draws its menus in.
LOGFONTA SystemMenuLogFont();

// An underlined copy of an existing font; null for a null font.
unique_hfont CreateUnderlinedFont(HFONT font);

}  // namespace rz
