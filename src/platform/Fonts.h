#pragma once
// Fonts named by face and point size, as the settings give them.

#include <string>

#include "platform/Handles.h"

namespace rz {

// Null when the system refuses the font.
unique_hfont CreatePointFont(const std::string& face, int points, bool underline = false);

// An underlined copy of an existing font; null for a null font.
unique_hfont CreateUnderlinedFont(HFONT font);

}  // namespace rz
