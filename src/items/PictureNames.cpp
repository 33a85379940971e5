#include "items/PictureNames.h"

#include "support/FileNames.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {
// Longer bases are cut: the picture has to fit in a deep level's path.
constexpr size_t kMaxBaseLength = 100;
}  // namespace

std::string PictureBaseName(const std::string& programPath) {
    size_t cut = programPath.find_last_of("\\/:");
    std::string base = NameWithoutExt(cut == std::string::npos ? programPath : programPath.substr(cut + 1));
    if (base.size() > kMaxBaseLength) base.resize(kMaxBaseLength);
    for (char& c : base) {
        if (!HasOnlyNameCharacters(std::string(1, c))) c = '_';
    }
    if (IsDeviceName(base + ".bmp")) base.insert(0, "_");
    return base;
}

std::string PictureNames::Next(const std::string& programPath) {
    const std::string base = PictureBaseName(programPath);
    int& n = nextNumber_[FileNameKey(base + ".bmp")];
    for (;; ++n) {
        std::string candidate = n == 0 ? base + ".bmp" : base + std::to_string(n) + ".bmp";
        // Neither a file nor a folder of the level may have the name.
        if (!reserved_.count(FileNameKey(candidate)) && !PathExists(folder_ + "\\" + candidate)) {
            ++n;
            return candidate;
        }
    }
}

void PictureNames::Reserve(const std::string& folderName) { reserved_.insert(FileNameKey(folderName)); }

}  // namespace rz
