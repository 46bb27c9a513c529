#include "browserstate.h"

namespace vm {

KeywordState Keywords;
EntryLists Entries;
UserReferences UserRefs;
PagingState Paging;
BusyState Busy;
ChunkState Chunks;

std::int32_t PageCountFor(std::int32_t entryCount, std::int32_t iconsPerPage) {
    if (entryCount <= 0) return 1;
    // A page size below 1 would divide by zero; such a list gets one entry a page.
    const std::int64_t perPage = iconsPerPage < 1 ? 1 : iconsPerPage;
    return static_cast<std::int32_t>((entryCount + perPage - 1) / perPage);
}

void StartNewList(PagingState& paging, std::int32_t entryCount) {
    paging.CurrentPage = 1;
    paging.PageCount = PageCountFor(entryCount, paging.IconsPerPage);
}

} // namespace vm
