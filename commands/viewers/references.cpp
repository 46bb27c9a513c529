#include "references.h"

#include <strings.h>

#include <algorithm>

#include "exportwindow.h"
#include "libraryindex.h"
#include "listview.h"
#include "paging.h"
#include "resultentry.h"
#include "statusbar.h"
#include "viewerhost.h"
#include "utf8text.h"

namespace vm {

int procEntryIndexOfItem(ListView& pnlResult, const HiddenList& cmbResult, int pageFirst, int itemIndex) {
    int entry = pageFirst;
    for (int i = 1; i <= itemIndex && i <= pnlResult.ListItems.Count(); ++i) {
        const std::string& tag = pnlResult.ListItems(i).Tag;
        while (entry < cmbResult.ListCount() && cmbResult.List(entry) != tag) ++entry;
        if (entry >= cmbResult.ListCount()) return -1;
        if (i == itemIndex) return entry;
        ++entry;
    }
    return -1;
}

void procRemoveReference(UserReferences& refs, HiddenList& cmbResult, int index) {
    if (index < 0 || index >= refs.cmbUser.ListCount() || index >= refs.lstUser.ListCount()) return;
    refs.cmbUser.RemoveItem(index);
    refs.lstUser.RemoveItem(index);
    auto shift = [index](HiddenList& list, int i) {
        if (list.ItemData(i) > index) list.SetItemData(i, list.ItemData(i) - 1);
    };
    for (int i = 0; i < refs.cmbUser.ListCount(); ++i) shift(refs.cmbUser, i);
    for (int i = 0; i < refs.lstUser.ListCount(); ++i) shift(refs.lstUser, i);
    for (int i = 0; i < cmbResult.ListCount(); ++i)
        if (EntryIsKind(cmbResult.List(i), kKindUser)) shift(cmbResult, i);
}

void mnuRefDelete_Click() {
    ExportWindow* items = Viewers.items;
    ListView* list = items ? items->pnlResult : nullptr;
    ListItem* item = list ? list->SelectedItem() : nullptr;
    if (!item) return;
    const std::string tag = item->Tag;
    HiddenList& cmbResult = Entries.cmbResult;
    const int at = procEntryIndexOfItem(*list, cmbResult, PageSliceOf(Paging, cmbResult.ListCount()).first,
                                        item->Index());
    // The item's own reference: the index its entry carries, when that
    // reference holds the entry; else the first reference with its text.
    int reference = -1;
    if (at >= 0 && EntryIsKind(tag, kKindUser)) {
        const int own = cmbResult.ItemData(at);
        if (own >= 0 && own < UserRefs.cmbUser.ListCount() &&
            SameText(UserRefs.cmbUser.List(own), tag))
            reference = own;
    }
    for (int i = 0; reference < 0 && i < UserRefs.cmbUser.ListCount(); ++i)
        if (SameText(UserRefs.cmbUser.List(i), tag)) reference = i;
    if (reference >= 0) procRemoveReference(UserRefs, cmbResult, reference);

    int entry = at;
    for (int i = 0; entry < 0 && i < cmbResult.ListCount(); ++i)
        if (SameText(cmbResult.List(i), tag)) entry = i;
    if (entry >= 0) cmbResult.RemoveItem(entry);
    const int removed = item->Index();
    list->ListItems.Remove(removed);

    // The item that takes the deleted one's place (or the last) becomes the
    // selected one, so the detail grid, the status bar and the commands show it.
    const int count = list->ListItems.Count();
    if (count > 0) {
        ListItem& next = list->ListItems(removed <= count ? removed : count);
        list->SetSelectedItem(&next);
        next.EnsureVisible();
    }
    if (cmbResult.ListCount() == 0 || count == 0) {
        // A last page left empty gives way to the last page that has entries.
        const int perPage = std::max(Paging.IconsPerPage, 1);
        const int lastPage = cmbResult.ListCount() == 0 ? 1 : (cmbResult.ListCount() - 1) / perPage + 1;
        Paging.CurrentPage = std::min(Paging.CurrentPage, lastPage);
        if (Viewers.getPage) Viewers.getPage();
    } else {
        if (Viewers.selectItem) Viewers.selectItem();
        if (Viewers.CountPanel) Viewers.CountPanel->SetText(std::to_string(cmbResult.ListCount()) + " icon(s)");
    }
    Keywords.UserIconsChanged = true;
    procSaveUserChanges();
}

} // namespace vm
