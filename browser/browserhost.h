#pragma once
// What the browser's builders need of the main window. The window fills these
// in when it loads; any left empty does nothing, so tests set only what they read.
#include <chrono>
#include <functional>
#include <string>

#include "hiddenlist.h"
#include "yieldclock.h"

namespace vm {

// How often the shown window's listings yield to the message loop.
inline constexpr std::chrono::milliseconds kWindowYieldEvery{10};

struct BrowserHost {
    std::function<void(const std::string&)> setStatusText;   // progress text (splash or message panel)
    std::function<void(const std::string&)> setMessagePanel; // the status panel "message"
    std::function<void(const std::string&)> setCountPanel;   // the status panel "count"
    std::function<void(bool)> setHourglass;                  // true: wait pointer, false: default
    std::function<void(bool)> setAbort;                      // busy (false) / idle (true) state
    std::function<void()> doEvents;                          // one yield to the message loop
    std::function<void()> clearResult;                       // empties the result view
    std::function<void()> showPage;                          // fills the current page, rebuilds the page menus
    std::function<void()> selectItem;                        // the selection handler, after a page fill
    // Favourites name search: every file of the favourites tree into the list,
    // and the "open" entries of one icon file appended to the entry list.
    std::function<void(HiddenList&)> listFavoriteFiles;
    std::function<void(const std::string&)> appendFileEntries;
    // A listing yields after each entry, but to the message loop only once
    // this much time has passed since it last did (zero: every time): a yield
    // costs as much as listing several files, and Esc and Stop are heard in
    // time either way.
    std::chrono::milliseconds YieldEvery{0};
    mutable YieldClock yields;

    void statusText(const std::string& t) const { if (setStatusText) setStatusText(t); }
    void messagePanel(const std::string& t) const { if (setMessagePanel) setMessagePanel(t); }
    void countPanel(const std::string& t) const { if (setCountPanel) setCountPanel(t); }
    void hourglass(bool on) const { if (setHourglass) setHourglass(on); }
    void abort(bool idle) const { if (setAbort) setAbort(idle); }
    void events() const { if (doEvents) doEvents(); }
    void yield() const {
        yields.every = YieldEvery;
        if (yields.due()) events();
    }
    void clear() const { if (clearResult) clearResult(); }
    void page() const { if (showPage) showPage(); }
    void select() const { if (selectItem) selectItem(); }
};

} // namespace vm
