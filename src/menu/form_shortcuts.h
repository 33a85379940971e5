#pragma once
// Holds the break pictures that a reload restores and the click handler of
// every item entry of the launcher menu.

#include <memory>

#include "platform/Bitmap.h"
#include "platform/Form.h"

namespace rz {

class TFormShortCuts : public TForm {
public:
    TFormShortCuts();
    ~TFormShortCuts() override;

    std::unique_ptr<TBitmap> ImageBreak3Small, ImageBreak4Small, ImageBreak5Small;
    std::unique_ptr<TBitmap> ImageBreak3Large, ImageBreak4Large, ImageBreak5Large;

    // Starts the clicked item: its Tag is the item id.
    void NorItemsRTClickItem(TObject* sender);
};

extern TFormShortCuts* FormShortCuts;

// Starts path with the shell's "open" verb; an empty directory means the
// path's own directory. True when the shell accepted it.
bool LaunchFile(const std::string& path, const std::string& parameters, std::string directory);
// The working directory for a path: its directory without trailing "\",
// except for a drive root, which keeps it.
std::string LaunchDirectoryOf(const std::string& path);

}  // namespace rz
