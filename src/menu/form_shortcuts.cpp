#include "menu/form_shortcuts.h"

#include "core/Launching.h"
#include "items/FixedImages.h"
#include "items/ItemIcons.h"
#include "items/LauncherParts.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"

namespace rz {

TFormShortCuts::TFormShortCuts(LauncherMenuParts& launcher) : TForm("FormShortCuts"), launcher_(launcher) {
    CreateForm("FormShortCuts", 0, 0, WS_POPUP, WS_EX_TOOLWINDOW);
    ImageBreak3Small = FixedPicture(12, 16);
    ImageBreak4Small = FixedPicture(13, 16);
    ImageBreak5Small = FixedPicture(14, 16);
    ImageBreak3Large = FixedPicture(12, 18);
    ImageBreak4Large = FixedPicture(13, 18);
    ImageBreak5Large = FixedPicture(14, 18);
}

namespace {

HICON EntryIconAtSize(LauncherMenuParts& launcher, const TMenuItem& entry, int size) {
    // Only an item entry's picture came from a file or a type; its Tag is
    // the item id. Fixed pictures are never asked for.
    if (entry.ImageIndex < kFirstTypeIconSlot || entry.Tag < 0 || entry.Count() > 0) return nullptr;
    return launcher.IconAtSize(entry.ImageIndex, size);
}

}  // namespace

HICON TFormShortCuts::ItemIconAtSize(const TMenuItem& entry, int size) {
    return EntryIconAtSize(Launcher(), entry, size);
}

void DrawItemIcon(LauncherMenuParts& launcher, HDC dc, const TMenuItem& entry, int x, int y, int size, bool enabled,
                  COLORREF background) {
    launcher.TakeLateIcon(entry.ImageIndex);
    const TImageList& images = launcher.MenuImages();
    if (HICON sized = size != images.Width() && enabled ? EntryIconAtSize(launcher, entry, size) : nullptr)
        ::DrawIconEx(dc, x, y, sized, size, size, 0, nullptr, DI_NORMAL);
    else images.DrawCached(dc, x, y, size, entry.ImageIndex, enabled, background);
}

void TFormShortCuts::NorItemsRTClickItem(TObject* sender) {
    auto* entry = dynamic_cast<TMenuItem*>(sender);
    if (!entry) return;
    int id = entry->Tag;
    const std::string path = Launcher().PathOfItem(id), params = Launcher().ParamsOfItem(id);
    // A refused launch teaches the search nothing.
    if (LaunchFile(path, params, "")) Launcher().Launches().Record(path, params, entry->Caption);
}

}  // namespace rz
