#include "paging.h"

#include <algorithm>

namespace vm {

PageSlice PageSliceOf(const PagingState& paging, std::int32_t entryCount) {
    PageSlice slice;
    const std::int64_t perPage = std::max<std::int32_t>(paging.IconsPerPage, 1);
    const std::int64_t first = perPage * (std::max<std::int32_t>(paging.CurrentPage, 1) - 1);
    if (first >= entryCount) return slice;
    slice.first = static_cast<std::int32_t>(first);
    slice.count = static_cast<std::int32_t>(std::min<std::int64_t>(perPage, entryCount - first));
    // The last page counts one step more than its entries, every other page a full page.
    slice.progressMax = paging.CurrentPage >= paging.PageCount ? slice.count + 1 : static_cast<std::int32_t>(perPage);
    return slice;
}

std::int32_t ProgressBlocksShown(std::int32_t value, std::int32_t max, int width, int height) {
    if (max <= 0 || width <= 0) return 0;
    const std::int64_t clamped = std::clamp<std::int64_t>(value, 0, max);
    const std::int64_t filled = clamped * width / max;
    const std::int64_t block = std::max(height * 2 / 3, 1) + 2;
    return static_cast<std::int32_t>((filled + block - 1) / block);
}

PageCommandStates PageCommandsFor(const PagingState& paging) {
    if (paging.PageCount == 0) return {};
    return {paging.CurrentPage > 1, paging.CurrentPage < paging.PageCount};
}

void RebuildPageMenu(ControlArray<MenuItem>& items, std::int32_t pageCount, const std::function<void(int)>& click) {
    for (int i = items.UBound(); i >= 2; --i)
        if (items.exists(i)) items(i).SetVisible(false);
    for (int i = 2; i <= pageCount; ++i) {
        const std::string caption = std::to_string(i);
        if (!items.exists(i)) {
            MenuItem& before = items(i - 1);
            items(i).createAfter(before, caption);
        } else {
            items(i).SetCaption(caption);
            items(i).SetVisible(true);
        }
    }
    for (int i = 1; i <= std::max<std::int32_t>(pageCount, 1); ++i)
        if (items.exists(i)) items(i).Click = [click, i] { click(i); };
}

} // namespace vm
