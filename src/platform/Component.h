#pragma once
// Base of everything that can be the sender of an event: a name (used when
// an exception is reported) and a free integer Tag.

#include <functional>
#include <string>

namespace rz {

class TObject {
public:
    virtual ~TObject() = default;
};

class TComponent : public TObject {
public:
    explicit TComponent(std::string name = {}) : Name(std::move(name)) {}
    std::string Name;
    int Tag = 0;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

}  // namespace rz
