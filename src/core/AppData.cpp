#include "core/AppData.h"

#include <windows.h>

#include "platform/FileIO.h"

namespace rz {

AppData App;

void PrepareTitles(AppData& data) {
    data.productTitle = kProductTitle;
    data.versionText = kVersionText;
    data.itemsTitle = data.productTitle + " - Manage Items";
    data.configTitle = data.productTitle + " - Preferences";
    data.aboutTitle = data.productTitle + " - About";
    data.aboutVersionText = data.productTitle + " version " + data.versionText + " for Windows";
}

void SetDataFolderFromModule(AppData& data) {
    const std::string full = ProgramPath();
    size_t cut = full.find_last_of("\\:");
    data.dataFolder = cut == std::string::npos ? std::string() : full.substr(0, cut + 1);
    data.programFileName = cut == std::string::npos ? full : full.substr(cut + 1);
}

}  // namespace rz
