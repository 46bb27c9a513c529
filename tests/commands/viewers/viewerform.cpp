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
    ExportFormTest::SetUp();
    Masks.SaveFramesMode = Masks.MaskFromImport = Masks.MaskFromChange = false;
    Exports.picFilm.clear();
    Exports.AniFrameCount = 0;
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
    ExportFormTest::TearDown();
}

} // namespace viewertest
