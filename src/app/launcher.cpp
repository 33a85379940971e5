// Program entry: the windows are created hidden, the guard lets only the
// first instance start, and the message loop runs until Terminate.

#include <windows.h>

#include "core/AppData.h"
#include "app/Forms.h"
#include "app/InitFinit.h"
#include "platform/Application.h"
#include "support/ProcessHardening.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace rz;
    HardenProcess();
    InstallFaultFilter();
    Application.Initialize();
    Application.ShowMainForm = false;
    Application.ProcessMessages();
    Application.SetTitle(kProductTitle);
    SafeInvoke(&Application, [] { CreateForms(); });
    Application.ProcessMessages();
    if (!Application.Terminated()) SafeInvoke(&Application, [] { GuardAndStart(); });
    Application.Run();
    DestroyForms();
    return 0;
}
