#pragma once
// Growable string arrays and the small string cutters of the program.

#include <string>
#include <unordered_map>
#include <vector>

namespace rz {

// Indexed from 0. Look-ups are by first occurrence, through a hash index, so
// the tables of a 50k-item store answer without a linear scan.
class TcvDynStringArray {
public:
    int Length() const { return static_cast<int>(items_.size()); }
    int High() const { return Length() - 1; }
    const std::string& operator[](int index) const { return items_[index]; }
    void Set(int index, const std::string& value);
    void Append(const std::string& value);
    void Clear();
    // Drops the entries from length on.
    void TruncateTo(int length);
    // First index <= highest holding value exactly, or -1.
    int IndexOf(const std::string& value, int highest) const;

private:
    std::vector<std::string> items_;
    mutable std::unordered_map<std::string, int> first_;
    mutable bool indexValid_ = false;  // built on the first look-up
};

void AppendString(TcvDynStringArray& array, const std::string& value);
int IndexOfString(const TcvDynStringArray& array, int highest, const std::string& value);
// 1-based position of the last occurrence of sub in s, or 0.
int LastPos(const std::string& sub, const std::string& s);
std::string ExtWithoutDot(const std::string& s);
std::string NameWithoutExt(const std::string& name);
std::string LowerCase(const std::string& s);
// Between 8-bit text in a named code page (a file's) and UTF-16; what the
// target cannot hold becomes its default character. The program's own
// strings go through ToUtf16 and FromUtf16 (platform/TextCodePage.h).
std::wstring ToWide(const std::string& s, unsigned codePage);
std::string FromWide(const std::wstring& s, unsigned codePage);
std::string UpperCase(const std::string& s);
// A folder path that ends in "\", as the store keeps directory links.
std::string WithTrailingBackslash(const std::string& path);

}  // namespace rz
