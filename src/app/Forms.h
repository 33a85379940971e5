#pragma once
// The five windows: created hidden in their order, owned here, wired to one
// another and to the shared services, and destroyed in reverse order.

namespace rz {

class LaunchHistory;
class TFormAbout;
class TFormConfig;
class TFormGeneral;
class TFormItems;
class TFormSearch;
class TFormShortCuts;

void CreateForms();
// Also releases the single-instance guard.
void DestroyForms();

// Each raises std::logic_error outside CreateForms ... DestroyForms.
TFormGeneral& FormGeneral();
TFormShortCuts& FormShortCuts();
TFormSearch& FormSearch();
TFormItems& FormItems();
TFormConfig& FormConfig();
TFormAbout& FormAbout();
LaunchHistory& Launches();

}  // namespace rz
