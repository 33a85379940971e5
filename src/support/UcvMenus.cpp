#include "support/UcvMenus.h"

#include <memory>

namespace rz {

void CopyMenuTree(const TMenuItem& source, TMenuItem& target, const TMenuCopyRoutine& routine) {
    if (routine) {
        routine(source, target);
    } else {
        // Measure and draw handlers stay behind: the target menu has its own drawing.
        target.ImageIndex = source.ImageIndex;
        target.Caption = source.Caption;
        target.Hint = source.Hint;
        target.ShortCut = source.ShortCut;
        target.Visible = source.Visible;
        target.Enabled = source.Enabled;
        target.OnClick = source.OnClick;
        target.Tag = source.Tag;
    }
    // Counted once, so copying a menu onto itself cannot chase its own appends.
    int count = source.Count();
    for (int i = 0; i < count; ++i) {
        TMenuItem* entry = target.Add(std::make_unique<TMenuItem>());
        CopyMenuTree(*source.Items(i), *entry, routine);
    }
}

std::string WithoutAccelerators(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += caption[++i];
            continue;
        }
        out += caption[i];
    }
    return out;
}

}  // namespace rz
