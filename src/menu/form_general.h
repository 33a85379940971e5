#pragma once
// The hidden main form: it never shows, and carries what the user reaches
// the program through, and the application-wide exception handler.

#include <exception>

#include "platform/Form.h"
#include "platform/HotKey.h"

namespace rz {

class TFormGeneral : public TForm {
public:
    TFormGeneral();
    ~TFormGeneral() override;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void AEGeneralException(TObject* sender, const std::exception& e);
    // Repaints the painted titles of the visible windows on (de)activation.
    void AEGeneralActivate(TObject* sender);

    TJvApplicationHotKey JvApplicationHotKey{"JvApplicationHotKey"};

    // Whether the program shows a taskbar button while one of its windows is open.
    void ApplyTaskBarPresence(bool taskBar);
    // Attaches or detaches AEGeneralActivate from the application's (de)activation.
    void AttachActivation(bool attach);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

extern TFormGeneral* FormGeneral;

}  // namespace rz
