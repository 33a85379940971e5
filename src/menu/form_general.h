#pragma once
// The hidden main form: it never shows, and carries what the user reaches
// the program through, and the application-wide exception handler.

#include <exception>

#include "platform/Form.h"

namespace rz {

class TFormGeneral : public TForm {
public:
    TFormGeneral();
    ~TFormGeneral() override;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void AEGeneralException(TObject* sender, const std::exception& e);
};

extern TFormGeneral* FormGeneral;

}  // namespace rz
