#include "filetypesource.h"

#include <strings.h>

#include <cstdlib>
#include <vector>

#include "entrylist.h"
#include "files.h"
#include "getfield.h"
#include "registry.h"
#include "resultentry.h"
#include "state.h"
#include "windowsicon.h"

namespace vm {
namespace {

// The default value of base\subKey as text; "" when missing or unreadable.
std::string defaultValue(HKEY base, const std::string& subKey) {
    procRegGetValue(base, subKey, "");
    return reg.RegValue.isEmpty() ? std::string() : reg.RegValue.toText();
}

std::vector<std::string> extensionKeys(HKEY base) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(base, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (name[0] == '.') names.emplace_back(name, length);
    }
    return names;
}

} // namespace

void SplitIconLocation(const std::string& location, std::string& file, std::string& index) {
    const size_t comma = location.find(',');
    file = location.substr(0, comma);
    index = comma == std::string::npos ? "0" : location.substr(comma + 1);
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
}

void procSearchFileTypes(FileTypeContext& ctx, HKEY root, const std::string& key) {
    HKEY base = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &base) != ERROR_SUCCESS) return;
    for (const std::string& extension : extensionKeys(base)) {
        const std::string fileClass = defaultValue(base, extension);
        if (fileClass.empty()) continue;
        const std::string defaultIcon = defaultValue(base, fileClass + "\\Defaulticon");
        // "%1": each file of the type shows its own icon; the type has none to list.
        if (defaultIcon.empty() || strcasecmp(defaultIcon.c_str(), "%1") == 0) continue;
        const std::string location = ExpandLeadingVariable(defaultIcon, ctx.windowsDir);
        std::string iconFile, iconIndex;
        SplitIconLocation(location, iconFile, iconIndex);
        const std::string typeName = defaultValue(base, fileClass);
        const std::string openCommand = defaultValue(base, fileClass + "\\Shell\\Open\\Command");
        ctx.lstChange.AddItem(extension + ":" + fileClass + ";" + typeName + ";" + location + ";" + openCommand);
        AppendEntry(ctx.cmbResult,
                    FileEntry({iconFile, iconIndex, typeName + " (*" + extension + ")"}, 'f', kKindFileType),
                    ctx.lstChange.NewIndex());
    }
    RegCloseKey(base);
}

void procGetFileTypeItem(PageLoadContext& ctx, const std::string& entry) {
    if (entry.size() <= 3) return;
    std::string file = ExpandLeadingVariable(procGetField(entry, ';', 1), paths.WindowsDir);
    // Older settings name files of the Windows folder without that folder.
    if (!file.empty() && !procFileExists(file)) {
        const std::string inWindows = paths.WindowsDir + (file.front() == '\\' ? "" : "\\") + file;
        if (procFileExists(inWindows)) file = inWindows;
    }
    ctx.loader.EntryIconIndex = std::atoi(procGetField(entry, ';', 2).c_str());
    const std::string label = procGetField(entry, ';', 3);
    const std::string typeCode = procGetField(entry, ';', 4).substr(0, 1);

    const int size = ctx.keywords.IconSize;
    AddPageItem(ctx, ItemPicture(WindowsFileIcon(ctx.loader, size, file), size), "", label, typeCode, "File");
}

} // namespace vm
