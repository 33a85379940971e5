#include "menu/form_shortcuts.h"

#include "items/FixedImages.h"
#include "manager/form_items.h"
#include "menu/Launching.h"
#include "platform/Menu.h"

namespace rz {

TFormShortCuts* FormShortCuts = nullptr;

TFormShortCuts::TFormShortCuts() : TForm("FormShortCuts") {
    CreateForm("FormShortCuts", 0, 0, WS_POPUP, WS_EX_TOOLWINDOW);
    ImageBreak3Small = FixedPicture(12, 16);
    ImageBreak4Small = FixedPicture(13, 16);
    ImageBreak5Small = FixedPicture(14, 16);
    ImageBreak3Large = FixedPicture(12, 18);
    ImageBreak4Large = FixedPicture(13, 18);
    ImageBreak5Large = FixedPicture(14, 18);
}

TFormShortCuts::~TFormShortCuts() {
    if (FormShortCuts == this) FormShortCuts = nullptr;
}

void TFormShortCuts::NorItemsRTClickItem(TObject* sender) {
    auto* entry = dynamic_cast<TMenuItem*>(sender);
    if (!entry || !FormItems || !FormItems->store) return;
    const ItemTables& tables = FormItems->store->tables;
    int id = entry->Tag;
    // A refused launch is silent.
    LaunchFile(tables.PathOf(id), tables.ParamsOfItem(id), "");
}

}  // namespace rz
