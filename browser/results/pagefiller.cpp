#include "pagefiller.h"

#include <strings.h>

#include <algorithm>
#include <chrono>

#include "form.h"
#include "paging.h"
#include "resultentry.h"
#include "state.h"
#include "vberror.h"
#include "zipmemory.h"

namespace vm {
namespace {

void setText(Panel* panel, const std::string& text) {
    if (panel) panel->SetText(text);
}

// Once a page has yielded, it yields every so many items or this often, so
// that Esc is heard at once while long work runs.
constexpr std::int32_t kItemsPerYield = 25;
constexpr std::chrono::milliseconds kYieldEvery{15};

// About the time a screen shows one frame.
constexpr std::chrono::milliseconds kProgressFrame{16};

// A page that fills faster than this shows no progress bar: it would only flash.
constexpr std::chrono::milliseconds kProgressAfter{100};

} // namespace

void PageFiller::procSetAbort(bool enable) {
    vm::procSetAbort(w_, {s_.keywords.IconSize, BrowserAvailable}, enable);
}

void PageFiller::setCount(std::int32_t entryCount) { setText(w_.CountPanel, std::to_string(entryCount) + " Icon(s)"); }

// The blocks the progress bar shows at value of max.
std::int32_t PageFiller::progressBlocks(std::int32_t value, std::int32_t max) const {
    RECT r{};
    if (!w_.pnlProgressBar || !GetClientRect(w_.pnlProgressBar->hWnd(), &r)) return value;
    return ProgressBlocksShown(value, max, r.right - r.left, r.bottom - r.top);
}

void PageFiller::placeProgressBar() {
    if (!w_.pnlProgressBar || !w_.pnlStatusbar || !w_.MessagePanel) return;
    // The bar covers the message panel; the vertical pixel size serves both directions.
    int panelLeft = 0;
    for (int i = 1; i < w_.MessagePanel->Index(); ++i) panelLeft += w_.pnlStatusbar->Panels(i).Width();
    const int pixel = TwipsPerPixelY();
    const int textHeight = w_.form ? w_.form->TextHeight("Gg") : 13 * pixel;
    w_.pnlProgressBar->Move(w_.pnlStatusbar->Left() + panelLeft, w_.pnlStatusbar->Top() + 3 * pixel,
                            w_.MessagePanel->Width() - 2 * pixel, textHeight + 3 * pixel);
    if (w_.pnlStatusbar->Visible()) {
        w_.pnlProgressBar->SetVisible(true);
        w_.pnlProgressBar->ZOrder(0);
        w_.pnlProgressBar->Refresh();
    }
}

bool PageFiller::fillPage(std::int32_t entryCount) {
    const PageSlice slice = PageSliceOf(s_.paging, entryCount);
    // The archives the page's members come from are opened once for the page.
    const ZipArchivesHeld held;
    const LibraryChunkLoader::PageScope chunkCopiesWait(s_.loader.library);
    PageLoadContext ctx{*w_.pnlResult, *w_.imlResult32, s_.keywords, s_.refs, s_.chunks, s_.loader, s_.entries};
    ListItemCollection& items = w_.pnlResult->ListItems;
    std::vector<Picture>& pictures = s_.loader.PagePictures;
    std::int32_t blocksShown = -1;
    const auto started = std::chrono::steady_clock::now();
    auto lastMove = started;
    auto lastYield = lastMove;
    bool barPlaced = false, yielded = false;
    std::int32_t sinceYield = 0;
    for (std::int32_t i = slice.first; i < slice.first + slice.count; ++i) {
        const std::int32_t number = s_.loader.PageItemNumber;
        // The bar paints itself at once at every new position, so it moves
        // only when it shows more blocks, and no more often than a screen
        // shows frames.
        if (w_.pnlProgressBar && !barPlaced && std::chrono::steady_clock::now() - started >= kProgressAfter) {
            placeProgressBar();
            barPlaced = true;
        }
        if (barPlaced) {
            const auto now = std::chrono::steady_clock::now();
            const std::int32_t blocks = progressBlocks(number, slice.progressMax);
            if (blocks != blocksShown && (blocksShown < 0 || now - lastMove >= kProgressFrame)) {
                w_.pnlProgressBar->SetValue(number);
                blocksShown = blocks;
                lastMove = now;
            }
        }
        s_.keywords.CurrentKeywordId = std::to_string(s_.entries.cmbResult.ItemData(static_cast<int>(i)));
        const std::string& entry = s_.entries.cmbResult.List(static_cast<int>(i));
        if (PageLoader load = PageLoaderFor(EntryKind(entry))) {
            try {
                load(ctx, entry);
            } catch (const VbError&) {
                // A loader that fails leaves its entry out; the next one takes its number.
            }
        }
        const auto pictureCount = static_cast<std::int32_t>(pictures.size());
        if (items.Count() == number && pictureCount == number) {
            items(number).Tag = entry;
            s_.loader.PageItemNumber = number + 1;
        } else {
            // Keep pictures and items numbered alike.
            if (items.Count() >= number) items.Remove(number);
            if (pictureCount >= number) pictures.resize(static_cast<size_t>(number) - 1);
        }
        ++sinceYield;
        const auto sinceLast = std::chrono::steady_clock::now() - lastYield;
        if (entryCount >= 6 && (yielded ? sinceYield >= kItemsPerYield || sinceLast >= std::min(YieldAfter, kYieldEvery)
                                        : sinceLast >= YieldAfter)) {
            host_.events();
            yielded = true;
            sinceYield = 0;
            lastYield = std::chrono::steady_clock::now();
            if (s_.busy.AbortRequested) return false;
        }
    }
    // One call for the whole page costs the image list a fraction of one per picture.
    try {
        w_.imlResult32->ListImages.AddRange(pictures);
    } catch (const VbError&) {
        // Items without their pictures would show none or others'.
        items.Clear();
    }
    return true;
}

void PageFiller::showFilledPage(std::int32_t entryCount) {
    // Item j already names picture j; the pictures show from here on.
    ListView& result = *w_.pnlResult;
    result.SetIcons(w_.imlResult32);
    result.SetSmallIcons(w_.imlResult32);
    setText(w_.MessagePanel, "");
    setCount(entryCount);
    procSetAbort(true);
    // The list view selects nothing by itself; the selection handler works on item 1.
    if (result.ListItems.Count() > 0) result.SetSelectedItem(&result.ListItems(1));
    host_.select();
    procSetPageButtons();
    Screen::SetMousePointer(vbDefault);
}

void PageFiller::cleanUp(std::int32_t entryCount) {
    DeleteExtractedMembers(s_.extracted, paths.TempPath);
    // The whole page paints at once.
    w_.pnlResult->SetRedraw(true);
    if (!IsIdle(w_)) procSetAbort(true);
    if (w_.pnlProgressBar && w_.pnlProgressBar->Visible()) w_.pnlProgressBar->SetVisible(false);
    setCount(entryCount);
}

void PageFiller::resetView(std::int32_t entryCount) {
    const bool aborted = s_.busy.AbortRequested;
    host_.clear();
    setText(w_.MessagePanel, aborted ? "Aborted!" : "");
    if (w_.PagePanel) {
        w_.PagePanel->SetPicture({});
        w_.PagePanel->SetText("");
    }
    EnableIfThere(w_.pnlNav, true);
    s_.busy.AbortRequested = false;
    Screen::SetMousePointer(vbDefault);
    // The count of the list stays in view, also after an abort: the list and its pages remain.
    setCount(entryCount);
}

void PageFiller::procGetPage() {
    host_.clear();
    const std::int32_t entryCount = s_.entries.cmbResult.ListCount();
    if (entryCount == 0 || !w_.pnlResult || !w_.imlResult32) {
        resetView(entryCount);
        return;
    }
    if (IsIdle(w_)) procSetAbort(false);
    setText(w_.PagePanel, "Page " + std::to_string(s_.paging.CurrentPage) + " of " +
                              std::to_string(s_.paging.PageCount));
    if (w_.pnlProgressBar) {
        w_.pnlProgressBar->SetMax(std::max(PageSliceOf(s_.paging, entryCount).progressMax, 1));
    }
    s_.loader.PageItemNumber = 1;
    // The list shows empty while the page fills, and neither paints nor lays
    // out an item before the page is complete.
    UpdateWindow(w_.pnlResult->hWnd());
    w_.pnlResult->SetRedraw(false);
    s_.loader.PagePictures.clear();
    s_.loader.extracted = &s_.extracted;
    const bool complete = fillPage(entryCount);
    s_.loader.PagePictures.clear();
    if (complete) showFilledPage(entryCount);
    cleanUp(entryCount);
    if (complete && !s_.busy.AbortRequested) return;
    resetView(entryCount);
}

void PageFiller::procSetPageNr() {
    if (w_.mnuGoBarToPageNr)
        RebuildPageMenu(*w_.mnuGoBarToPageNr, s_.paging.PageCount, [this](int i) { mnuGoBarToPageNr_Click(i); });
    if (w_.mnuGoToPageNr)
        RebuildPageMenu(*w_.mnuGoToPageNr, s_.paging.PageCount, [this](int i) { mnuGoToPageNr_Click(i); });
    if (w_.tmrLed && s_.paging.PageCount > 1 && s_.paging.CurrentPage == 1) w_.tmrLed->SetEnabled(true);
}

void PageFiller::procSetPageButtons() {
    const PageCommandStates states = PageCommandsFor(s_.paging);
    EnableIfThere(w_.mnuGoFirstPage, states.back);
    EnableIfThere(w_.mnuGoPrevPage, states.back);
    EnableIfThere(w_.mnuGoNextPage, states.forward);
    EnableIfThere(w_.mnuGoLastPage, states.forward);
    EnableButtonIfThere(w_.pnlToolbar, "firstpage", states.back);
    EnableButtonIfThere(w_.pnlToolbar, "prevpage", states.back);
    EnableButtonIfThere(w_.pnlToolbar, "nextpage", states.forward);
    EnableButtonIfThere(w_.pnlToolbar, "lastpage", states.forward);
}

void PageFiller::ShowNewList() {
    procGetPage();
    procSetPageNr();
}

void PageFiller::goToPage(std::int32_t page) {
    s_.paging.CurrentPage = page;
    procGetPage();
}

void PageFiller::mnuGoFirstPage_Click() { goToPage(1); }
void PageFiller::mnuGoPrevPage_Click() { goToPage(s_.paging.CurrentPage - 1); }
void PageFiller::mnuGoNextPage_Click() { goToPage(s_.paging.CurrentPage + 1); }
void PageFiller::mnuGoLastPage_Click() { goToPage(s_.paging.PageCount); }

void PageFiller::mnuGoToPageNr_Click(int index) {
    if (index != s_.paging.CurrentPage) goToPage(index);
}

void PageFiller::mnuGoBarToPageNr_Click(int index) { mnuGoToPageNr_Click(index); }

void PageFiller::pnlStatusbar_PanelClick(Panel& panel) {
    if (strcasecmp(panel.Key().c_str(), "area") != 0) return;
    if (panel.Text().empty() || strcasecmp(panel.Text().c_str(), "Page 1 of 1") == 0) return;
    if (w_.form && w_.mnuGoBar) w_.form->PopupMenu(*w_.mnuGoBar);
}

} // namespace vm
