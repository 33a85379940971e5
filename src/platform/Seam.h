#pragma once
// A call that tests can stand in for: modal dialogs, the sound device, file
// operations whose failure cannot be caused on demand. The program always
// makes the real call; a test replaces it and restores it when done.

#include <functional>
#include <stdexcept>
#include <utility>

namespace rz {

template <class Signature>
class Seam;

template <class R, class... Args>
class Seam<R(Args...)> {
public:
    using Function = std::function<R(Args...)>;

    explicit Seam(R (*real)(Args...)) : real_(real) {}
    Seam(const Seam&) = delete;
    Seam& operator=(const Seam&) = delete;

    R operator()(Args... args) const {
        return standIn_ ? standIn_(std::forward<Args>(args)...) : real_(std::forward<Args>(args)...);
    }

    // A stand-in that wants the real behaviour for some calls passes them on.
    R Real(Args... args) const { return real_(std::forward<Args>(args)...); }

    void Replace(Function standIn) {
        if (!standIn) throw std::invalid_argument("an empty stand-in; use Restore");
        standIn_ = std::move(standIn);
    }
    void Restore() { standIn_ = nullptr; }

private:
    R (*real_)(Args...);
    Function standIn_;
};

}  // namespace rz
