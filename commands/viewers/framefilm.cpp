#include "framefilm.h"

#include "browserstate.h"
#include "framecollect.h"
#include "frmani.h"
#include "iconcanvas.h"
#include "listview.h"
#include "viewerhost.h"

namespace vm {

void procPlayAnimation(const std::string& entry) {
    Screen::SetMousePointer(vbHourglass);
    Exports.picFilm = procCollectAnimationFrames(Entries.cmbResult, entry, Keywords.IconSize);
    Exports.AniFrameCount = static_cast<std::int16_t>(Exports.picFilm.size());
    Viewers.AniFrameIndex = 1;
    if (Masks.SaveFramesMode) return;
    if (Exports.AniFrameCount == 0) {
        Screen::SetMousePointer(vbDefault);
        return;
    }
    frmAni().Show(vbModeless);
}

void mnuFilePlay_Click(ExportWindow& w) {
    ListItem* item = w.pnlResult ? w.pnlResult->SelectedItem() : nullptr;
    if (!item || AnimationKey(item->Tag).empty()) return;
    procPlayAnimation(item->Tag);
}

} // namespace vm
