#include "winsources.h"

#include "browserstate.h"
#include "cursorsource.h"
#include "filetypesource.h"
#include "frmmain.h"
#include "shortcutsource.h"
#include "state.h"
#include "systemiconsource.h"

namespace vm {

void ConnectWindowsSources(FrmMain& w) {
    NodeSources& s = w.nodeSources;
    s.searchShortcuts = [&w](const std::string& scope) { procSearchShortcuts(w, scope); };
    s.searchFileTypes = [&w](HKEY root, const std::string& key) { procSearchFileTypes(w.lstChange, root, key); };
    s.searchSystemIcons = [&w] { procSearchSystemIcons(w.lstChange); };
    s.currentCursor = [](std::int32_t ocrId, const std::string& role) { procGetCurrentCursor(ocrId, role); };
    s.themeCursor = [](const std::string& file, const std::string& scheme, int position) {
        procGetCurrentThemeCursor(file, scheme, position);
    };
}

void procSearchShortcuts(FrmMain& w, const std::string& scope) {
    ShortcutContext ctx{Entries, Paging, Busy, w.host, {}, [&w](const std::string& t) { w.cmbSearch.SetText(t); }};
    procSearchShortcuts(ctx, scope);
}

void procSearchFileTypes(HiddenList& lstChange, HKEY root, const std::string& key) {
    FileTypeContext ctx{Entries.cmbResult, lstChange, paths.WindowsDir};
    procSearchFileTypes(ctx, root, key);
}

void procSearchSystemIcons(HiddenList& lstChange) {
    SystemIconContext ctx{lstChange, Entries.cmbResult, paths.WindowsDir};
    procSearchSystemIcons(ctx);
}

void procGetCurrentCursor(std::int32_t ocrId, const std::string& roleName) {
    procGetCurrentCursor(Entries.cmbResult, ocrId, roleName);
}

void procGetCurrentThemeCursor(const std::string& file, const std::string& schemeName, int position) {
    procGetCurrentThemeCursor(Entries.cmbResult, file, schemeName, static_cast<std::int16_t>(position));
}

} // namespace vm
