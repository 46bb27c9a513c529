#pragma once
// The arithmetic of paging through the entry list, and the page-number menus.
#include <cstdint>
#include <functional>

#include "browserstate.h"
#include "control.h"
#include "menu.h"

namespace vm {

// The entries of page CurrentPage: 0-based index of the first, how many there
// are (the last page is short) and the progress bar's maximum for the fill.
struct PageSlice {
    std::int32_t first = 0;
    std::int32_t count = 0;
    std::int32_t progressMax = 0;
};
PageSlice PageSliceOf(const PagingState& paging, std::int32_t entryCount);

// The blocks a progress bar of the given client size (pixels) fills at value
// of max: blocks two thirds of the height wide with a gap of two pixels, as
// the system's bar draws them. Two values of one count look the same.
std::int32_t ProgressBlocksShown(std::int32_t value, std::int32_t max, int width, int height);

// Which page commands may run: "First"/"Previous" and "Next"/"Last" go in pairs.
struct PageCommandStates {
    bool back = false;    // first page, previous page
    bool forward = false; // next page, last page
};
PageCommandStates PageCommandsFor(const PagingState& paging);

// Shows elements 1 to pageCount of a page-number menu array, captioned with
// their numbers, and hides the rest down to element 2 (element 1, the designed
// one, always stays). Elements are created after their predecessor the first
// time they are needed and kept for reuse. Like the elements of a designed
// array, every element shares one click handler, which gets the index.
void RebuildPageMenu(ControlArray<MenuItem>& items, std::int32_t pageCount, const std::function<void(int)>& click);

} // namespace vm
