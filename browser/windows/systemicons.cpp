#include "systemicons.h"

#include <strings.h>

#include <algorithm>
#include <utility>
#include <iterator>

namespace vm {
namespace {

// The version groups the tables are written for.
enum Group : int { g95 = 0, g98 = 1, gME = 2, g2000 = 3 };

Group groupOf(const std::string& osCode) {
    if (osCode == "98") return g98;
    if (osCode == "ME") return gME;
    if (osCode == "2000") return g2000;
    return g95; // "95", "NT3", "NT4" and a version the program does not know
}

#define SHELL_ICONS "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons,"

// A row and its place in each version's table (0: not in that table). The
// Windows 98 and ME columns are the same in the three-table nodes.
struct Row {
    const char* name;
    const char* icon; // file name, "," and index
    const char* location;
    int place[4];     // by Group
    bool inWindowsDir = false;
};

const Row kDesktop[] = {
    {"My Computer", "explorer.exe,0", "HKEY_CLASSES_ROOT\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\Defaulticon", {1, 0, 0, 0}, true},
    {"Network Neighborhood", "shell32.dll,17", "HKEY_CLASSES_ROOT\\CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\Defaulticon", {2, 0, 0, 0}},
    {"Recycle Bin (Empty)", "shell32.dll,31", "HKEY_CLASSES_ROOT\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,Empty", {3, 0, 0, 0}},
    {"Recycle Bin (Full)", "shell32.dll,32", "HKEY_CLASSES_ROOT\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,full", {4, 0, 0, 0}},
    {"My Briefcase", "syncui.dll,0", "HKEY_CLASSES_ROOT\\CLSID\\{85BBD920-42A0-1069-A2E4-08002B30309D}\\Defaulticon", {5, 0, 0, 0}},

    {"My Computer", "explorer.exe,0", "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\Defaulticon", {0, 1, 1, 0}, true},
    {"Network Neighborhood", "shell32.dll,17", "HKEY_CURRENT_USER\\.DEFAULT\\Software\\Classes\\CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\Defaulticon", {0, 2, 2, 0}},
    {"Recycle Bin (Empty)", "shell32.dll,31", "HKEY_USERS\\.DEFAULT\\Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,Empty", {0, 3, 3, 0}},
    {"Recycle Bin (Full)", "shell32.dll,32", "HKEY_USERS\\.DEFAULT\\Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,full", {0, 4, 4, 0}},
    {"My Documents", "mydocs.dll,0", "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\Defaulticon", {0, 5, 5, 0}},
    {"My Briefcase", "syncui.dll,0", "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{85BBD920-42A0-1069-A2E4-08002B30309D}\\Defaulticon", {0, 6, 6, 0}},

    {"My Computer", "explorer.exe,0", "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", {0, 0, 0, 1}, true},
    {"Network Neighborhood", "shell32.dll,17", "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon", {0, 0, 0, 2}},
    {"Recycle Bin (Empty)", "shell32.dll,31", "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon,Empty", {0, 0, 0, 3}},
    {"Recycle Bin (Full)", "shell32.dll,32", "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon,Full", {0, 0, 0, 4}},
};

const Row kStart[] = {
    {"Program Group", "shell32.dll,19", SHELL_ICONS "19", {0, 1, 1, 1}},
    {"Favorites", "shell32.dll,43", SHELL_ICONS "43", {0, 2, 2, 0}},
    {"Documents", "mydocs.dll,0", SHELL_ICONS "20", {0, 0, 0, 2}},
    {"Programs", "shell32.dll,19", SHELL_ICONS "19", {1, 0, 0, 0}},
    {"My Documents", "shell32.dll,20", SHELL_ICONS "20", {2, 3, 3, 0}},
    {"Settings", "shell32.dll,21", SHELL_ICONS "21", {3, 4, 4, 3}},
    {"Control Panel", "shell32.dll,35", SHELL_ICONS "35", {4, 5, 5, 4}},
    {"Printers", "shell32.dll,37", SHELL_ICONS "37", {5, 6, 6, 5}},
    {"Find", "shell32.dll,22", SHELL_ICONS "22", {6, 7, 7, 6}},
    {"Help", "shell32.dll,23", SHELL_ICONS "23", {7, 8, 8, 7}},
    {"Run", "shell32.dll,24", SHELL_ICONS "24", {8, 9, 9, 8}},
    {"Log Off", "shell32.dll,44", SHELL_ICONS "44", {0, 10, 10, 0}},
    {"Suspend", "shell32.dll,25", SHELL_ICONS "25", {9, 11, 11, 9}},
    {"Shut Down", "shell32.dll,27", SHELL_ICONS "27", {10, 12, 12, 10}},
};

const Row kDrives[] = {
    {"Hard Drive", "shell32.dll,8", SHELL_ICONS "8", {1, 1, 1, 1}},
    {"Floppy Drive [3,5]", "shell32.dll,6", SHELL_ICONS "6", {2, 2, 2, 2}},
    {"Floppy Drive [5,25]", "shell32.dll,5", SHELL_ICONS "5", {3, 3, 3, 3}},
    {"CD-ROM Drive", "shell32.dll,11", SHELL_ICONS "11", {4, 4, 4, 4}},
    {"Audio CD", "shell32.dll,40", SHELL_ICONS "40", {5, 5, 5, 5}},
    {"Network Drive [Connected]", "shell32.dll,9", SHELL_ICONS "9", {6, 6, 6, 6}},
    {"Network Drive [Offline]", "shell32.dll,10", SHELL_ICONS "10", {7, 7, 7, 7}},
    {"Removable Drive", "shell32.dll,7", SHELL_ICONS "7", {8, 8, 8, 8}},
    {"Ram Drive", "shell32.dll,12", SHELL_ICONS "12", {9, 9, 9, 9}},
};

const Row kFolders[] = {
    {"Closed Folder", "shell32.dll,3", SHELL_ICONS "3", {1, 1, 1, 1}},
    {"Open Folder", "shell32.dll,4", SHELL_ICONS "4", {2, 2, 2, 2}},
    {"My Documents", "mydocs.dll,0", "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\DefaultIcon", {0, 0, 0, 3}},
    {"Sharing Overlay", "shell32.dll,28", SHELL_ICONS "28", {3, 3, 3, 4}},
    {"Desktop", "shell32.dll,34", SHELL_ICONS "34", {4, 4, 4, 5}},
    {"Control Panel", "shell32.dll,35", "HKEY_CLASSES_ROOT\\CLSID\\{21EC2020-3AEA-1069-A2DD-08002B30309D}\\Defaulticon", {5, 0, 0, 6}},
    {"Control Panel", "shell32.dll,35", SHELL_ICONS "35", {0, 5, 5, 0}},
    {"Printers", "shell32.dll,37", "HKEY_CLASSES_ROOT\\CLSID\\{2227A280-3AEA-1069-A2DE-08002B30309D}\\Defaulticon", {6, 0, 0, 7}},
    {"Printers", "shell32.dll,37", SHELL_ICONS "37", {0, 6, 6, 0}},
    {"Dial-Up Networking", "rnaui.dll,0", "HKEY_CLASSES_ROOT\\CLSID\\{992CFFA0-F557-101A-88EC-00DD010CCC48}\\Defaulticon", {7, 0, 0, 0}},
    {"Dial-Up Networking", "rnaui.dll,0", "HKEY_LOCAL_MACHINE\\Software\\CLASSES\\CLSID\\{992CFFA0-F557-101A-88EC-00DD010CCC48}\\Defaulticon", {0, 7, 7, 0}},
    {"Program Group", "shell32.dll,36", SHELL_ICONS "36", {8, 8, 8, 8}},
    {"URL History", "shdocvw.dll,32", "HKEY_CLASSES_ROOT\\CLSID\\{FF393560-C2A7-11CF-BFF4-444553540000}\\Defaulticon", {0, 9, 0, 0}},
    {"URL History", "shdocvw.dll,27", "HKEY_CLASSES_ROOT\\CLSID\\{FF393560-C2A7-11CF-BFF4-444553540000}\\Defaulticon", {0, 0, 9, 0}},
    {"ActiveX Cache", "occache.dll,0", "HKEY_CLASSES_ROOT\\CLSID\\{88C6C381-2E85-11D0-94DE-444553540000}\\Defaulticon", {0, 10, 10, 0}},
    {"Scheduled Tasks", "mstask.dll,0", "HKEY_CLASSES_ROOT\\CLSID\\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}\\Defaulticon", {0, 11, 11, 0}},
    {"My Briefcase", "syncui.dll,0", "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{85BBD920-42A0-1069-A2E4-08002B30309D}\\Defaulticon", {0, 0, 0, 9}},
};

// Only the icon index differs on Windows ME.
const Row kFiles[] = {
    {"Text Document", "shell32.dll,64", "HKEY_CLASSES_ROOT\\txtfile\\Defaulticon", {1, 1, 0, 1}},
    {"Text Document", "shell32.dll,67", "HKEY_CLASSES_ROOT\\txtfile\\Defaulticon", {0, 0, 1, 0}},
    {"MS-DOS Application", "shell32.dll,2", "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\comfile\\Defaulticon", {2, 2, 2, 2}},
    {"MS-DOS Batch File", "shell32.dll,65", "HKEY_CLASSES_ROOT\\batfile\\Defaulticon", {3, 3, 0, 3}},
    {"MS-DOS Batch File", "shell32.dll,68", "HKEY_CLASSES_ROOT\\batfile\\Defaulticon", {0, 0, 3, 0}},
    {"Configuration Settings", "shell32.dll,63", "HKEY_CLASSES_ROOT\\inifile\\Defaulticon", {4, 4, 0, 4}},
    {"Configuration Settings", "shell32.dll,66", "HKEY_CLASSES_ROOT\\inifile\\Defaulticon", {0, 0, 4, 0}},
    {"Installation Settings", "shell32.dll,64", "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\inffile\\Defaulticon", {5, 5, 0, 5}},
    {"Installation Settings", "shell32.dll,66", "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\inffile\\Defaulticon", {0, 0, 5, 0}},
    {"Default Icon", "shell32.dll,0", SHELL_ICONS "0", {6, 6, 6, 6}},
    {"Default Document", "shell32.dll,1", SHELL_ICONS "1", {7, 7, 7, 7}},
    {"Shortcut Overlay", "shell32.dll,29", SHELL_ICONS "29", {8, 8, 8, 8}},
};

#undef SHELL_ICONS

struct Table {
    const char* key;
    const Row* begin;
    const Row* end;
};

const Table kTables[] = {
    {"SysDesktop", std::begin(kDesktop), std::end(kDesktop)},
    {"SysStart", std::begin(kStart), std::end(kStart)},
    {"SysDrives", std::begin(kDrives), std::end(kDrives)},
    {"SysFolders", std::begin(kFolders), std::end(kFolders)},
    {"SysFiles", std::begin(kFiles), std::end(kFiles)},
};

const Table* tableOf(const std::string& key) {
    for (const Table& t : kTables)
        if (strcasecmp(t.key, key.c_str()) == 0) return &t;
    return nullptr;
}

} // namespace

bool IsSystemIconNode(const std::string& key) { return tableOf(key) != nullptr; }

HKEY RegistryRootOf(const std::string& name) {
    const std::pair<const char*, HKEY> roots[] = {{"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                                                  {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                                                  {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                                                  {"HKEY_USERS", HKEY_USERS},
                                                  {"HKEY_USER", HKEY_USERS}};
    for (const auto& [text, root] : roots)
        if (strcasecmp(text, name.c_str()) == 0) return root;
    return nullptr;
}

std::vector<std::string> SystemIconRows(const std::string& key, const std::string& osCode,
                                        const std::string& windowsDir, const std::string& systemDir) {
    std::vector<std::string> rows;
    const Table* table = tableOf(key);
    if (!table) return rows;
    const Group group = groupOf(osCode);
    std::vector<const Row*> chosen;
    for (const Row* r = table->begin; r != table->end; ++r)
        if (r->place[group] > 0) chosen.push_back(r);
    std::stable_sort(chosen.begin(), chosen.end(),
                     [group](const Row* a, const Row* b) { return a->place[group] < b->place[group]; });
    for (const Row* r : chosen)
        rows.push_back(std::string(r->name) + ";" + (r->inWindowsDir ? windowsDir : systemDir) + "\\" + r->icon + ";" +
                       r->location);
    return rows;
}

} // namespace vm
