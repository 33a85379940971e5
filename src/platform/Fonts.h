#pragma once
// Fonts named by face and point size, as the settings give them. Font
// descriptions are wide: a face name of 31 characters may need more than the
// 32 bytes of the A form in UTF-8.

#include <string>

#include "platform/Handles.h"

namespace rz {

// A normal-weight font of face at points for a display of dpi, for callers
// that change more before creating it.
LOGFONTW PointLogFont(const std::string& face, int points, int dpi);
// Null when the system refuses the font.
unique_hfont CreatePointFont(const std::string& face, int points, int dpi, bool underline = false);
// The font the system draws its menus in.
LOGFONTW SystemMenuLogFont();

// The face name as the program's strings hold it, and set from one: cut to
// what the description holds, never inside a character.
std::string FaceNameOf(const LOGFONTW& lf);
void SetFaceName(LOGFONTW& lf, const std::string& face);

// An underlined copy of an existing font; null for a null font.
unique_hfont CreateUnderlinedFont(HFONT font);

}  // namespace rz
