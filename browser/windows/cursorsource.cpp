#include "cursorsource.h"

#include <strings.h>

#include <cstdlib>
#include <vector>

#include "anisteps.h"
#include "chunkcell.h"
#include "entrylist.h"
#include "getfield.h"
#include "librarychunks.h"
#include "registry.h"
#include "resultentry.h"
#include "windowsicon.h"
#include "widefile.h"

namespace vm {
namespace {

constexpr const char* kCursorsKey = "Control Panel\\Cursors";
constexpr const char* kDefault = "default";

const std::array<CursorTableRow, 14> kCursorTable{{
    {"AppStarting", 32650, "Application Starting", 4, "Application Starting"},
    {"Arrow", 32512, "Arrow", 1, "Arrow"},
    {"Crosshair", 32515, "Crosshair", 5, "Crosshair"},
    {"Help", 32651, "Help Pointer", 2, "Help"},
    {"IBeam", 32513, "I Beam", 6, "I Beam"},
    {"No", 32648, "No", 8, "No"},
    {"NWPen", 32631, "Pen", 7, "Pen"},
    {"SizeAll", 32646, "Size All", 13, "Size All"},
    {"SizeNESW", 32643, "Size NESW", 9, "Size NESW"},
    {"SizeNS", 32645, "Size NS", 10, "Size NS"},
    {"SizeNWSE", 32642, "Size NWSE", 11, "Size NWSE"},
    {"SizeWE", 32644, "Size WE", 12, "Size WE"},
    {"UpArrow", 32516, "Up Arrow", 14, "Up Arrow"},
    {"Wait", 32514, "Wait", 3, "Wait"},
}};

// Cursor settings often begin with a variable (%SystemRoot%\Cursors\...).
std::string expanded(const std::string& text) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::vector<char> buffer(needed + 1, '\0');
    const DWORD n = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    return n == 0 || n > buffer.size() ? text : std::string(buffer.data());
}

// The bytes of an animated cursor, as far as any sound one reaches: the
// frames are counted, and they lie behind the header.
std::string fileHead(const std::string& path) {
    constexpr DWORD kHead = 16u << 20;
    HANDLE h = wide::Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes(kHead, '\0');
    DWORD got = 0;
    if (!ReadFile(h, bytes.data(), kHead, &got, nullptr)) got = 0;
    CloseHandle(h);
    bytes.resize(got);
    return bytes;
}

void appendCursorEntries(HiddenList& cmbResult, const std::string& file, const std::string& location,
                         char staticCode, char animatedCode, const std::string& kind) {
    if (!IsAnimatedName(file)) {
        AppendEntry(cmbResult, FileEntry({file, "0", location}, staticCode, kind), 0);
        return;
    }
    const std::int32_t steps = AniStepCount(fileHead(expanded(file)));
    for (std::int32_t f = 0; f < steps; ++f)
        AppendEntry(cmbResult, FileEntry({file, std::to_string(f), location}, animatedCode, kind), 0);
}

// The picture of a system cursor; a transparent one for no role.
HICON systemCursor(const CursorTableRow* role, int size) {
    if (!role) {
        CellImage blank;
        blank.width = blank.height = size;
        blank.pixels.assign(static_cast<size_t>(size) * static_cast<size_t>(size), 0);
        blank.transparent.assign(blank.pixels.size(), 1);
        return IconFromCell(blank);
    }
    HCURSOR shared = LoadCursorA(nullptr, MAKEINTRESOURCEA(role->ocrId));
    return shared ? CopyIcon(shared) : nullptr;
}

const CursorTableRow* roleOfLocation(const std::string& location) {
    const std::string prefix = std::string(kCursorsKey) + "\\";
    for (const CursorTableRow& role : kCursorTable) {
        if (location == std::to_string(role.ocrId) ||
            strcasecmp(location.c_str(), (prefix + role.valueName).c_str()) == 0)
            return &role;
    }
    return nullptr;
}

// The item of either loader, once the role is known.
void addCursorItem(PageLoadContext& ctx, const std::string& entry, const CursorTableRow* role, bool scheme) {
    const std::string file = procGetField(entry, ';', 1);
    ctx.loader.EntryIconIndex = std::atoi(procGetField(entry, ';', 2).c_str());
    const std::string typeCode = procGetField(entry, ';', 4).substr(0, 1);
    const int size = ctx.keywords.IconSize;
    const bool isDefault = strcasecmp(file.c_str(), kDefault) == 0;

    HICON icon = nullptr;
    std::string suffix;
    if (isDefault) {
        icon = systemCursor(role, size);
    } else {
        icon = WindowsFileIcon(ctx.loader, size, expanded(file));
        if (IsAnimatedName(file)) suffix = " #" + std::to_string(ctx.loader.EntryIconIndex + 1);
    }
    std::string name;
    if (role) name = scheme ? role->schemeName : role->currentName;
    AddPageItem(ctx, ItemPicture(icon, size), "", name + suffix, typeCode, isDefault ? "Windows Default" : "File");
}

} // namespace

const std::array<CursorTableRow, 14>& CursorTable() { return kCursorTable; }

const CursorTableRow* CursorRoleAt(int position) {
    for (const CursorTableRow& role : kCursorTable)
        if (role.position == position) return &role;
    return nullptr;
}

void procGetCurrentCursor(HiddenList& cmbResult, std::int32_t ocrId, const std::string& roleName) {
    procRegGetValue(HKEY_CURRENT_USER, kCursorsKey, roleName);
    const std::string file = reg.RegValue.isEmpty() ? std::string() : reg.RegValue.toText();
    if (file.empty()) {
        AppendEntry(cmbResult, FileEntry({kDefault, "0", std::to_string(ocrId)}, 'c', kKindCurrentCursor), 0);
        return;
    }
    appendCursorEntries(cmbResult, file, std::string(kCursorsKey) + "\\" + roleName, 'c', 'g', kKindCurrentCursor);
}

void procGetCurrentThemeCursor(HiddenList& cmbResult, const std::string& file, const std::string& schemeName,
                               std::int16_t position) {
    const std::string location =
        std::string(kCursorsKey) + "\\Schemes\\" + schemeName + ":" + std::to_string(position);
    if (file.empty()) {
        AppendEntry(cmbResult, FileEntry({kDefault, "0", location}, 't', kKindThemeCursor), 0);
        return;
    }
    appendCursorEntries(cmbResult, file, location, 't', 'a', kKindThemeCursor);
}

void procGetCursorItem(PageLoadContext& ctx, const std::string& entry) {
    if (entry.size() <= 3) return;
    addCursorItem(ctx, entry, roleOfLocation(procGetField(entry, ';', 3)), false);
}

void procGetThemeCursorItem(PageLoadContext& ctx, const std::string& entry) {
    if (entry.size() <= 3) return;
    // The position follows the last ":", so a scheme name may hold one too.
    const std::string location = procGetField(entry, ';', 3);
    const size_t colon = location.rfind(':');
    const int position = colon == std::string::npos ? 0 : std::atoi(location.c_str() + colon + 1);
    addCursorItem(ctx, entry, CursorRoleAt(position), true);
}

} // namespace vm
