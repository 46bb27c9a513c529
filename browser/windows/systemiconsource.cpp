#include "systemiconsource.h"

#include <strings.h>

#include <cstdlib>

#include "entrylist.h"
#include "registry.h"
#include "resultentry.h"
#include "vberror.h"
#include "windowsicon.h"

namespace vm {
namespace {

// text up to the first sep, and the rest after it; false without a sep.
bool splitAt(const std::string& text, char sep, std::string& before, std::string& after) {
    const size_t at = text.find(sep);
    if (at == std::string::npos) return false;
    before = text.substr(0, at);
    after = text.substr(at + 1);
    return true;
}

[[noreturn]] void badRow(const std::string& row) {
    throw VbError(5, "procSearchSystemIcons", "Invalid system icon row: " + row);
}

} // namespace

HKEY RegistryRootNamed(const std::string& name) {
    static const struct {
        const char* name;
        HKEY root;
    } kRoots[] = {{"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                  {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                  {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                  {"HKEY_USERS", HKEY_USERS}};
    for (const auto& r : kRoots)
        if (strcasecmp(r.name, name.c_str()) == 0) return r.root;
    return nullptr;
}

void procSearchSystemIcons(SystemIconContext& ctx) {
    for (int i = 0; i < ctx.lstChange.ListCount(); ++i) {
        const std::string& row = ctx.lstChange.List(i);
        std::string displayName, rest, defaultIcon, location, rootName, keyPath;
        if (!splitAt(row, ';', displayName, rest) || !splitAt(rest, ';', defaultIcon, location) ||
            !splitAt(location, '\\', rootName, keyPath))
            badRow(row);
        const HKEY root = RegistryRootNamed(rootName);
        if (!root) badRow(row);
        std::string valueName;
        if (const size_t comma = keyPath.find(','); comma != std::string::npos) {
            valueName = keyPath.substr(comma + 1);
            keyPath.resize(comma);
        }

        procRegGetValue(root, keyPath, valueName);
        std::string value = reg.RegValue.isEmpty() ? std::string() : reg.RegValue.toText();
        // A missing value lists the row's default; only a change writes it.
        if (value.empty()) value = defaultIcon;
        const size_t comma = value.find(',');
        const std::string iconFile = ExpandLeadingVariable(value.substr(0, comma), ctx.windowsDir);
        const std::string iconIndex = comma == std::string::npos ? std::string(1, '0') : value.substr(comma + 1);
        AppendEntry(ctx.cmbResult, FileEntry({iconFile, iconIndex, displayName}, 'w', kKindSystemIcon), i);
    }
}

void procGetSystemIconItem(PageLoadContext& ctx, const std::string& entry) {
    if (entry.size() <= 3) return;
    std::string iconFile, index, displayName, rest;
    if (!splitAt(entry, ';', iconFile, rest) || !splitAt(rest, ';', index, rest) ||
        !splitAt(rest, ';', displayName, rest))
        return;
    ctx.loader.EntryIconIndex = std::atoi(index.c_str());
    const int size = ctx.keywords.IconSize;
    AddPageItem(ctx, ItemPicture(WindowsFileIcon(ctx.loader, size, iconFile), size), "", displayName,
                rest.substr(0, 1), "File");
}

} // namespace vm
