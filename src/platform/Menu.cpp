#include "platform/Menu.h"

#include <algorithm>

#include "platform/Application.h"

namespace rz {

TMenuItem::~TMenuItem() { Clear(); }

int TMenuItem::IndexOf(const TMenuItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == item) return static_cast<int>(i);
    }
    return -1;
}

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> item) { return Insert(Count(), std::move(item)); }

TMenuItem* TMenuItem::Insert(int index, std::unique_ptr<TMenuItem> item) {
    index = std::clamp(index, 0, Count());
    item->parent_ = this;
    TMenuItem* raw = item.get();
    items_.insert(items_.begin() + index, std::move(item));
    return raw;
}

std::unique_ptr<TMenuItem> TMenuItem::Remove(int index) {
    if (index < 0 || index >= Count()) return nullptr;
    std::unique_ptr<TMenuItem> item = std::move(items_[index]);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    return item;
}

void TMenuItem::Click() {
    if (OnClick) SafeInvoke(this, [this] { OnClick(this); });
}

void TMenuItem::Clear() {
    // Children first, from the end, so deep trees never recurse through the vector erase.
    while (!items_.empty()) items_.pop_back();
}

}  // namespace rz
