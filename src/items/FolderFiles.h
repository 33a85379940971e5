#pragma once
// The plain files of one folder, listed once. A level of the store names a
// picture on every program line, mostly pictures that are not there; asking
// the file system for each costs a search of the folder per line.

#include <string>
#include <unordered_set>

namespace rz {

class FolderFiles {
public:
    // folder ends with "\".
    explicit FolderFiles(std::string folder) : folder_(std::move(folder)) {}

    // What FileExists(folder + name) answers for a plain file name, names
    // compared as the file system compares them (short names too).
    bool Has(const std::string& name);

private:
    void List();

    std::string folder_;
    bool listed_ = false;
    std::unordered_set<std::string> keys_;
};

}  // namespace rz
