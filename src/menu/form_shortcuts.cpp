#include "menu/form_shortcuts.h"

#include <shellapi.h>

#include "items/FixedImages.h"
#include "manager/form_items.h"
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

std::string LaunchDirectoryOf(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    if (cut == std::string::npos) return {};
    std::string dir = path.substr(0, cut);
    if (path[cut] == ':') return path.substr(0, cut + 1);
    if (dir.size() == 2 && dir[1] == ':') return dir + "\\";
    return dir;
}

bool LaunchFile(const std::string& path, const std::string& parameters, std::string directory) {
    if (directory.empty()) directory = LaunchDirectoryOf(path);
    auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", path.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                        directory.empty() ? nullptr : directory.c_str(), SW_SHOWDEFAULT));
    return result > 32;
}

}  // namespace rz
