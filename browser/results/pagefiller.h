#pragma once
// Paging through the entry list: the page filler, which turns the entries of
// the current page into result items through the loader of each entry's
// kind, the page commands of the Go menu and the status bar's page menu, and
// the page-number menus.
#include <chrono>
#include <cstdint>

#include "browserhost.h"
#include "browserstate.h"
#include "browserwindow.h"
#include "busystate.h"
#include "pageloaders.h"
#include "zipcleanup.h"

namespace vm {

// The state a page fill reads and writes.
struct PageFillState {
    EntryLists& entries;
    PagingState& paging;
    BusyState& busy;
    KeywordState& keywords;
    UserReferences& refs;
    ChunkState& chunks;
    PageLoaderState& loader;
    ExtractedMembers& extracted;
};

class PageFiller {
public:
    // host: clearResult (the window's result clearing), doEvents, selectItem.
    PageFiller(BrowserWindow& window, const BrowserHost& host, PageFillState state)
        : w_(window), host_(host), s_(state) {}

    bool BrowserAvailable = false; // whether "changefolder" takes part in the busy state
    // A filling page first lets the window handle what is queued (Esc among
    // it) once this long has passed: sooner than a person notices a wait. A
    // yield paints what changed, the busy state among it, which costs about
    // as much as a page of items from the cache: a page that fills sooner
    // paints once, when complete. Work that lasts yields often from then on.
    std::chrono::milliseconds YieldAfter{50};

    // Fills the result list with page CurrentPage.
    void procGetPage();
    // Rebuilds both page-number menus for PageCount and starts the page LED
    // when a new list has more than one page.
    void procSetPageNr();
    // Enables the four page commands (menu items and toolbar buttons).
    void procSetPageButtons();
    // The new list's page 1 and its page menus (after StartNewList).
    void ShowNewList();

    void procSetAbort(bool enable);

    // The Go commands; the enabling keeps them in range.
    void mnuGoFirstPage_Click();
    void mnuGoPrevPage_Click();
    void mnuGoNextPage_Click();
    void mnuGoLastPage_Click();
    void mnuGoToPageNr_Click(int index);
    void mnuGoBarToPageNr_Click(int index);
    // Pops up the page menu from the page panel while there is more than one page.
    void pnlStatusbar_PanelClick(Panel& panel);

private:
    void goToPage(std::int32_t page);
    void placeProgressBar();
    bool fillPage(std::int32_t entryCount); // false when aborted
    void showFilledPage(std::int32_t entryCount);
    void cleanUp(std::int32_t entryCount);
    void resetView(std::int32_t entryCount);
    void setCount(std::int32_t entryCount);
    std::int32_t progressBlocks(std::int32_t value, std::int32_t max) const;

    BrowserWindow& w_;
    const BrowserHost& host_;
    PageFillState s_;
};

} // namespace vm
