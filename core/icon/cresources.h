#pragma once
// cResources: lists the resource types of an EXE, DLL or ICL file and the
// names of one type, with the file loaded as a data file (never run).
//
// Usage: file(name); GetResourceTypes(); t = IndexOfResourceType(14);
// GetResourceNames(t); ResourceName(t, 1...); then file(next) or UnloadModule().
// Positions are 1-based. Errors are thrown as vm::VbError with the source
// "<executable>.cResource"; a position outside a list is a subscript error (9).
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "classerror.h"
#include "neiconfile.h"

namespace vm {

class cResources {
public:
    cResources() = default;
    cResources(const cResources&) = delete;
    cResources& operator=(const cResources&) = delete;
    ~cResources() { ClearUp(); }

    // ClearUp, then loads the file as a data file; a file that is not a
    // module, or a module whose resources are damaged, leaves hModule
    // nullptr and raises nothing. A 16-bit module, which the system does not
    // load, is read by the program's own reader instead (hModule stays
    // nullptr, and the lists below are its resources).
    void file(const std::string& name);
    const std::string& file() const { return file_; }
    HMODULE hModule() const { return module_; }

    // Lists the module's resource types; error 1049 when the enumeration
    // fails, also when no module is loaded.
    bool GetResourceTypes();
    int ResourceTypeCount() const { return static_cast<int>(types_.size()); }
    // The number of a numbered type, else its name.
    ResourceKey ResourceType(int typePosition) const;
    // Position of the first numbered type equal to type; 0 when absent.
    // Named types count as 0.
    int IndexOfResourceType(std::int32_t type) const;

    // Lists the names of the type at typePosition, replacing an earlier list;
    // error 1050 when the enumeration fails, also when no module is loaded.
    bool GetResourceNames(int typePosition);
    int ResourceNameCount(int typePosition) const;
    // The number of a numbered resource, else its name.
    ResourceKey ResourceName(int typePosition, int namePosition) const;

    static std::string ResourceTypeName(std::int32_t type);

    void UnloadModule();
    // UnloadModule and forget every list.
    void ClearUp();

private:
    static BOOL CALLBACK typeCallback(HMODULE, LPSTR type, LONG_PTR self);
    static BOOL CALLBACK nameCallback(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR self);
    const std::vector<ResourceKey>& namesOf(int typePosition) const;

    HMODULE module_ = nullptr;
    std::shared_ptr<const NeIconFile> ne_; // a 16-bit module's resources
    std::string file_;
    std::vector<ResourceKey> types_;
    std::map<int, std::vector<ResourceKey>> names_; // by type position
    std::vector<ResourceKey>* filling_ = nullptr;   // the name list being enumerated
};

// The system's text for a Windows error code; "" when there is none.
std::string procWinErrorText(DWORD code);

} // namespace vm
