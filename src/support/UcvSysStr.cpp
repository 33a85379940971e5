#include "support/UcvSysStr.h"

#include "platform/TextCodePage.h"

#include <windows.h>

#include <algorithm>

namespace rz {

// The index holds, for every value, the lowest index that holds it. It is
// built on the first look-up, so tables nobody searches never pay for it,
// and kept up to date by appends from then on.
void TcvDynStringArray::Append(const std::string& value) {
    items_.push_back(value);
    if (indexValid_) first_.try_emplace(value, High());
}

void TcvDynStringArray::Set(int index, const std::string& value) {
    std::string& slot = items_.at(static_cast<size_t>(index));
    if (slot == value) return;
    if (indexValid_) {
        auto old = first_.find(slot);
        if (old != first_.end() && old->second == index) {
            // A later duplicate may become the first one: cheaper to rebuild on demand.
            indexValid_ = false;
            first_.clear();
        } else {
            auto [it, added] = first_.try_emplace(value, index);
            if (!added && it->second > index) it->second = index;
        }
    }
    slot = value;
}

void TcvDynStringArray::TruncateTo(int length) {
    if (length < 0 || length >= Length()) return;
    items_.resize(static_cast<size_t>(length));
    first_.clear();
    indexValid_ = false;
}

void TcvDynStringArray::Clear() {
    items_.clear();
    first_.clear();
    indexValid_ = false;
}

int TcvDynStringArray::IndexOf(const std::string& value, int highest) const {
    highest = std::min(highest, High());
    if (highest < 0) return -1;
    if (!indexValid_) {
        first_.clear();
        first_.reserve(items_.size());
        for (int i = 0; i < Length(); ++i) first_.try_emplace(items_[i], i);
        indexValid_ = true;
    }
    auto it = first_.find(value);
    return it != first_.end() && it->second <= highest ? it->second : -1;
}

void AppendString(TcvDynStringArray& array, const std::string& value) { array.Append(value); }

int IndexOfString(const TcvDynStringArray& array, int highest, const std::string& value) {
    return array.IndexOf(value, highest);
}

int LastPos(const std::string& sub, const std::string& s) {
    if (s.empty() || sub.size() > s.size()) return 0;
    // The last start that leaves room for sub, but never past the last character.
    size_t start = std::min(s.size() - 1, s.size() - sub.size());
    size_t pos = s.rfind(sub, start);
    return pos == std::string::npos ? 0 : static_cast<int>(pos) + 1;
}

std::string ExtWithoutDot(const std::string& s) { return s.empty() ? s : s.substr(1); }

std::string NameWithoutExt(const std::string& name) {
    int p = LastPos(".", name);
    return p > 0 ? name.substr(0, static_cast<size_t>(p) - 1) : name;
}

// ASCII only: the result must not depend on the code page.
std::string LowerCase(const std::string& s) {
    std::string r = s;
    for (char& c : r) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return r;
}

std::string UpperCase(const std::string& s) {
    std::string r = s;
    for (char& c : r) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return r;
}

std::wstring ToWide(const std::string& s, unsigned codePage) { return ToUtf16(s, codePage); }

std::string FromWide(const std::wstring& s, unsigned codePage) { return FromUtf16(s, codePage); }

std::string WithTrailingBackslash(const std::string& path) {
    return path.empty() || path.back() == '\\' ? path : path + '\\';
}

}  // namespace rz
