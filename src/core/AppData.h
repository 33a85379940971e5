#pragma once
// Program-wide facts fixed at start-up: where the data lives, the titles,
// and the maker's product data (kept here, in one place).

#include <string>

namespace rz {

inline constexpr char kProductTitle[] = "Corvane Razaveza";
inline constexpr char kVersionText[] = "1.42";
inline constexpr char kMakerWebsite[] = "https://www.corvane.example/razaveza/";
inline constexpr char kSupportEmail[] = "support@corvane.example";

struct AppData {
    std::string dataFolder;       // ends with "\"
    std::string programFileName;  // without directory
    std::string productTitle = kProductTitle;
    std::string versionText = kVersionText;
    std::string itemsTitle;
    std::string configTitle;
    std::string aboutTitle;
    std::string aboutVersionText;
};

extern AppData App;

// Fills the titles from the product title and the version.
void PrepareTitles(AppData& data);
// Data folder and file name from the program's own path.
void SetDataFolderFromModule(AppData& data);

}  // namespace rz
