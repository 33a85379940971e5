#include "menu/form_general.h"

#include "app/ErrorLog.h"
#include "platform/Application.h"

namespace rz {

TFormGeneral* FormGeneral = nullptr;

TFormGeneral::TFormGeneral() : TForm("FormGeneral") {
    CreateForm("GeneralForm", 0, 0, WS_POPUP, WS_EX_TOOLWINDOW);
    OnShow = [this](TObject* s) { FormShow(s); };
    Application.OnException = [this](TObject* s, const std::exception& e) { AEGeneralException(s, e); };
    FormCreate(this);
}

TFormGeneral::~TFormGeneral() {
    Application.OnException = nullptr;
    if (FormGeneral == this) FormGeneral = nullptr;
}

void TFormGeneral::FormCreate(TObject*) {
    if (Handle()) ::SetWindowPos(Handle(), nullptr, -1, -1, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormGeneral::FormShow(TObject*) {}

void TFormGeneral::AEGeneralException(TObject* sender, const std::exception& e) {
    try {
        auto* component = dynamic_cast<TComponent*>(sender);
        if (!component) throw std::runtime_error("no sender");
        WriteErrorLog("Exception raised (Sender was: " + component->Name + "): " + e.what());
    } catch (...) {
        try {
            WriteErrorLog(std::string("Exception raised (Sender Couldn't be determined): ") + e.what());
        } catch (...) {
            // The log cannot be written at all: the fatal text still shows below.
        }
    }
    ShowNotice(kNoticeFatal, "", 0);
    Application.Terminate();
}

}  // namespace rz
