#include "entrylist.h"

namespace vm {
namespace {

void showCountEvery25(const HiddenList& cmbResult, const BrowserHost& host) {
    const int count = cmbResult.ListCount();
    if (count % 25 == 0) host.countPanel(std::to_string(count) + " Icon(s)");
}

} // namespace

void procAddResult(EntryLists& lists, const BrowserHost& host, const std::string& file, std::int16_t index,
                   const std::string& label, const std::string& codeKind) {
    lists.cmbResult.AddItem(file + ";" + std::to_string(index) + ";" + label + ";" + codeKind);
    showCountEvery25(lists.cmbResult, host);
    host.yield();
}

void AppendEntry(HiddenList& cmbResult, const std::string& entry, std::int32_t itemData) {
    cmbResult.AddItem(entry);
    cmbResult.SetItemData(cmbResult.NewIndex(), itemData);
}

void AppendCounted(HiddenList& cmbResult, const BrowserHost& host, const std::string& entry, std::int32_t itemData) {
    AppendEntry(cmbResult, entry, itemData);
    showCountEvery25(cmbResult, host);
}

} // namespace vm
