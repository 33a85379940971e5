#pragma once
// The about box.

#include "platform/Form.h"
#include "platform/StdControls.h"

namespace rz {

class TFormAbout : public TForm {
public:
    TFormAbout();
    ~TFormAbout() override;

    TLabel LabelVer{"LabelVer"};
};

extern TFormAbout* FormAbout;

}  // namespace rz
