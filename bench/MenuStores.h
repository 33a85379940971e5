#pragma once
// The stores of the menu case: the same 40-entry top level (a 500-entry
// folder first, nine more folders, thirty documents) with few or many items
// in the nine folders, and the shape file that tells the bare baseline what
// to show.

#include <string>
#include <vector>

namespace rzbench {

struct MenuShape {
    std::vector<std::string> top;  // the user's top-level captions
    std::vector<bool> topFolder;   // which of them are folders
    std::vector<std::string> big;  // the captions of the first folder
};

struct MenuStore {
    std::string dataFolder;  // ends with "\"
    MenuShape shape;
    int lines = 0;  // list lines in all
};

// perFolder items go into each of the nine other folders, spread over ten
// sub-folders once there are more than 50.
MenuStore GenerateMenuStore(const std::string& dataFolder, int perFolder);

void WriteMenuShape(const MenuShape& shape, const std::string& file);
MenuShape ReadMenuShape(const std::string& file);

}  // namespace rzbench
