#pragma once
// A window of the program whose title is painted into its caption bar while
// the program draws its own titles: the platform repaints the frame on these
// messages, and the title goes back on top each time.

#include <string>

#include "platform/Form.h"

namespace rz {

class TTitledDialog : public TForm {
public:
    // title lives as long as the program (one of the prepared titles).
    TTitledDialog(std::string name, const std::string& title) : TForm(std::move(name)), title_(title) {
        FitWorkArea = true;
    }

    const std::string& Title() const { return title_; }
    // Attached in own drawing mode to activation, deactivation and paint.
    void FormActivate(TObject* sender);
    void FormPaint(TObject* sender);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    const std::string& title_;
};

}  // namespace rz
