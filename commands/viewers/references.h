#pragma once
// The References menu's delete command and the lookup of a result item's
// entry; adding a reference and editing keywords open dialogs the main window
// shows.
#include <string>

#include "browserstate.h"

namespace vm {

class ListView;

void mnuRefDelete_Click();

// The position in cmbResult of result item itemIndex (from 1) of the current
// page: items follow the page's entries in order, passing over entries whose
// loader gave no item. -1 when the item is not found.
int procEntryIndexOfItem(ListView& pnlResult, const HiddenList& cmbResult, int pageFirst, int itemIndex);

// Removes the user reference at index from both reference lists and keeps
// the cross indexes (ItemData) of the lists and of cmbResult's user entries
// pointing at the right references.
void procRemoveReference(UserReferences& refs, HiddenList& cmbResult, int index);

} // namespace vm
