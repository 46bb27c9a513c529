#pragma once
// Program-wide state owned by the core services, one struct per concern.
//
// Callers reach each value through the one shared instance of its struct:
//   vm::paths.DataPath, vm::paths.WindowsDir, vm::paths.SystemDir, vm::paths.TempPath
//   vm::identity.ProductName, vm::identity.OSName, vm::identity.OSCode
//   vm::runState.SystemIconsChanged, .EndingProgram, .SplashActive, .PassedFile
//   vm::folderPicker.SearchingFavorites, .BrowseForExtract, .BrowseResult
//   vm::reg.RegKey, vm::reg.RegResult, vm::reg.RegValue   (registry.h)
// Everything runs on the user-interface thread, so none of it is locked.
#include <string>

namespace vm {

// Folders set at start-up and fixed for the rest of the run.
struct Paths {
    std::string DataPath;   // the program folder, with a trailing "\"
    std::string WindowsDir; // lower case, no trailing "\"
    std::string SystemDir;  // lower case, no trailing "\"
    std::string TempPath;   // lower case, exactly one trailing "\"
};

// What the program and the running Windows are called.
struct Identity {
    std::string ProductName; // "Vellumar"; emptied when the icon library is missing
    std::string OSName;      // e.g. "Windows 98 (4.10)"
    std::string OSCode;      // "95", "98", "ME", "NT3", "NT4" or "2000"
};

// Where the run stands.
struct RunState {
    bool SystemIconsChanged = false; // a Windows icon changed and the icon cache not rebuilt since
    bool EndingProgram = false;      // the orderly shutdown has started; it runs once
    bool SplashActive = false;       // the splash window is up and shows status texts too
    std::string PassedFile;          // the path text the main window was last asked to open
};

// The folder picker's callers set one flag around the call to say where the
// chosen folder goes (see folderpicker.h).
struct FolderPicker {
    bool SearchingFavorites = false; // into the options window's favourites folder
    bool BrowseForExtract = false;   // into BrowseResult, owned by the main window
    std::string BrowseResult;        // kept as it was when the picker is cancelled
};

extern Paths paths;
extern Identity identity;
extern RunState runState;
extern FolderPicker folderPicker;

} // namespace vm
