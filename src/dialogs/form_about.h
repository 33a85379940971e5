#pragma once
// The about box.

#include "platform/Form.h"
#include "platform/StdControls.h"

namespace rz {

class TFormAbout : public TForm {
public:
    TFormAbout();

    TLabel LabelVer{"LabelVer"};
};

}  // namespace rz
