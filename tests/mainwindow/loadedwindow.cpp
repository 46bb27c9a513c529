#include "loadedwindow.h"

#include <windows.h>

#include <initializer_list>

#include "browserstate.h"
#include "dialogforms.h"
#include "frmmessage.h"
#include "seam.h"
#include "state.h"

namespace mwtest {

using namespace vm;

void LoadedMainWindow::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    paths.DataPath = dir.path() + "\\";
    Seam::get().setScripted(true);
    FrmMain::endProcess = [] {};
    runState.SplashActive = true;
    Busy.AbortRequested = false;
    prepare();
    frmMain().Load();
}

void LoadedMainWindow::TearDown() {
    if (frmMain().IsLoaded()) frmMain().Unload(vbFormCode);
    SetCurrentDirectoryA("C:\\"); // start-up enters the favourites folder in the scratch folder
    for (Form* f : std::initializer_list<Form*>{&frmAdd(), &frmKey(), &shell::frmMessage()})
        if (f->IsLoaded()) f->Unload();
    Seam::get().reset();
}

} // namespace mwtest
