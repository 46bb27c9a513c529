#include "viewerform.h"

#include <windows.h>

#include "browserstate.h"
#include "commandstate.h"
#include "exportwindow.h"
#include "iconcanvas.h"
#include "seam.h"
#include "selection.h"
#include "viewerhost.h"

namespace viewertest {

using namespace vm;

void ViewerTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    form.Load();
    w = form.window();
    Seam::get().reset();
    Seam::get().setScripted(true);
    Commands = CommandModes{};
    Selection = SelectionState{};
    Masks.SaveFramesMode = Masks.MaskFromImport = Masks.MaskFromChange = false;
    Exports.picFilm.clear();
    Exports.AniFrameCount = 0;
    Keywords.IconSize = 32;
    Entries.cmbResult.Clear();
    UserRefs.cmbUser.Clear();
    UserRefs.lstUser.Clear();
    Paging = PagingState{};
    Viewers = ViewerHost{};
    Viewers.mainForm = &form;
    Viewers.items = &w;
}

void ViewerTest::TearDown() {
    Form::scriptedModal = nullptr;
    Seam::get().setScripted(false);
    form.Unload();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
}

std::vector<SeamRequest> ViewerTest::requestsOf(const std::string& kind) {
    std::vector<SeamRequest> found;
    for (const SeamRequest& r : Seam::get().requests())
        if (r.kind == kind) found.push_back(r);
    return found;
}

} // namespace viewertest
