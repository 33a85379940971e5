#pragma once
// Generates an item store (shortcuts\ with one list file per level, folders
// on disk and icon picture files) of a chosen size and mix.

#include <string>
#include <vector>

namespace rzbench {

struct StoreShape {
    int items = 1000;            // list lines in all, folders included
    int itemsPerFolder = 100;    // one virtual folder per this many items
    int folders = -1;            // overrides itemsPerFolder when 0 or more
    int maxDepth = 4;            // folder nesting below the top level
    double exeShare = 0.20;      // executables (paths that do not exist)
    double pictureShare = 0.10;  // of the executables: icon picture file present
    double scriptShare = 0.05;   // .bat/.cmd with parameters
    double separatorShare = 0.04;
    double directoryShare = 0.03;
    double setupShare = 0.02;   // of the executables: named setup.exe (shared picture names)
    bool otherScripts = false;  // every caption and file name also in Cyrillic, CJK, emoji and accents
    unsigned seed = 1;
};

struct StoreLevel {
    std::string rel;      // folder below shortcuts\, "" or "Group 3\Group 7\"
    std::string content;  // the list file, CR LF lines
    int executables = 0;  // .exe lines: the writer saves one picture for each
};

struct GeneratedStore {
    std::string dataFolder;          // ends with "\"
    std::vector<StoreLevel> levels;  // parents before their sub-folders
    int lines = 0;
    int folders = 0;
    int links = 0;
    int executables = 0;
    int scripts = 0;
    int pictures = 0;
};

// Writes the store under dataFolder + "shortcuts\".
GeneratedStore GenerateStore(const StoreShape& shape, const std::string& dataFolder);

}  // namespace rzbench
