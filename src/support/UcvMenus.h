#pragma once
// Copying a menu entry with all its sub-entries.

#include <functional>

#include "platform/Menu.h"

namespace rz {

using TMenuCopyRoutine = std::function<void(const TMenuItem& source, TMenuItem& target)>;

// Copies source's properties onto target (or lets routine do it), then
// appends a copy of every sub-entry, recursively.
void CopyMenuTree(const TMenuItem& source, TMenuItem& target, const TMenuCopyRoutine& routine = {});

// A caption as it reads on screen: accelerator marks gone, "&&" an ampersand.
std::string WithoutAccelerators(const std::string& caption);

}  // namespace rz
