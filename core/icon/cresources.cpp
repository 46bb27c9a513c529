#include "cresources.h"
#include "datamodule.h"

#include "iconsource.h"

namespace vm {
namespace {

constexpr const char* kClass = "cResource";

// A numbered resource or type, or the name it points at.
ResourceKey keyOf(LPCSTR value) {
    if (IS_INTRESOURCE(value)) return static_cast<std::int32_t>(reinterpret_cast<ULONG_PTR>(value) & 0xFFFF);
    return std::string(value);
}

ResourceKey keyOf(const ne::ResourceId& id) {
    if (id.named) return id.name;
    return static_cast<std::int32_t>(id.number);
}

} // namespace

std::string procWinErrorText(DWORD code) {
    char text[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    return std::string(text, n);
}

void cResources::file(const std::string& name) {
    ClearUp();
    file_ = name;
    // The system's enumerations fault on a damaged resource tree; such a
    // module is left unloaded, like a file that is no module.
    if (!IconSourceIsSound(name)) return;
    ne_ = ReadNeIconFile(name);
    if (!ne_) module_ = AcquireDataModule(name);
}

void cResources::UnloadModule() {
    ReleaseDataModule(module_);
    module_ = nullptr;
    ne_.reset();
}

void cResources::ClearUp() {
    UnloadModule();
    types_.clear();
    names_.clear();
}

BOOL CALLBACK cResources::typeCallback(HMODULE, LPSTR type, LONG_PTR self) {
    reinterpret_cast<cResources*>(self)->types_.push_back(keyOf(type));
    return TRUE;
}

BOOL CALLBACK cResources::nameCallback(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR self) {
    // The system lists a name whose language directory holds no entry, and
    // then finds no data for it. It is no resource: the project's reader,
    // which counts the icons the lister shows, leaves it out, and positions
    // in this list must be the same as there.
    if (FindResourceA(module, name, type)) reinterpret_cast<cResources*>(self)->filling_->push_back(keyOf(name));
    return TRUE;
}

bool cResources::GetResourceTypes() {
    types_.clear();
    if (ne_) {
        for (const ne::ResourceType& type : ne_->types) types_.push_back(keyOf(type.id));
        return true;
    }
    // Module handle 0 would mean the program's own file; with no module
    // loaded there is nothing to list.
    BOOL ok = FALSE;
    DWORD error = ERROR_INVALID_HANDLE;
    if (module_) {
        ok = EnumResourceTypesA(module_, typeCallback, reinterpret_cast<LONG_PTR>(this));
        error = GetLastError();
    }
    if (!ok) raiseClassError(1049, kClass, procWinErrorText(error));
    return true;
}

ResourceKey cResources::ResourceType(int typePosition) const {
    if (typePosition < 1 || typePosition > ResourceTypeCount()) raiseSubscriptError(kClass);
    return types_[typePosition - 1];
}

int cResources::IndexOfResourceType(std::int32_t type) const {
    // A named type has no number and is found by a search for 0.
    for (std::size_t i = 0; i < types_.size(); ++i) {
        const auto* id = std::get_if<std::int32_t>(&types_[i]);
        if ((id ? *id : 0) == type) return static_cast<int>(i) + 1;
    }
    return 0;
}

bool cResources::GetResourceNames(int typePosition) {
    if (typePosition < 1 || typePosition > ResourceTypeCount()) raiseSubscriptError(kClass);
    auto& list = names_[typePosition];
    list.clear();
    const auto& t = types_[typePosition - 1];
    const auto* id = std::get_if<std::int32_t>(&t);
    if (ne_) {
        for (const ne::Resource& r : ne_->types[static_cast<std::size_t>(typePosition) - 1].resources)
            list.push_back(keyOf(r.id));
        return true;
    }
    LPCSTR type = id ? MAKEINTRESOURCEA(*id) : std::get<std::string>(t).c_str();
    BOOL ok = FALSE;
    DWORD error = ERROR_INVALID_HANDLE;
    if (module_) {
        filling_ = &list;
        ok = EnumResourceNamesA(module_, type, nameCallback, reinterpret_cast<LONG_PTR>(this));
        error = GetLastError();
        filling_ = nullptr;
    }
    if (!ok) raiseClassError(1050, kClass, procWinErrorText(error));
    return true;
}

const std::vector<ResourceKey>& cResources::namesOf(int typePosition) const {
    auto it = names_.find(typePosition);
    if (it == names_.end()) raiseSubscriptError(kClass);
    return it->second;
}

int cResources::ResourceNameCount(int typePosition) const {
    return static_cast<int>(namesOf(typePosition).size());
}

ResourceKey cResources::ResourceName(int typePosition, int namePosition) const {
    const auto& list = namesOf(typePosition);
    if (namePosition < 1 || namePosition > static_cast<int>(list.size())) raiseSubscriptError(kClass);
    return list[namePosition - 1];
}

std::string cResources::ResourceTypeName(std::int32_t type) {
    switch (type) {
    case 1: return "Cursor";
    case 2: return "Bitmap";
    case 3: return "Icon";
    case 4: return "Menu";
    case 5: return "Dialog";
    case 6: return "String";
    case 7: return "Font Directory";
    case 8: return "Font";
    case 9: return "Accelerators";
    case 10: return "RC Data";
    case 11: return "Message Table";
    case 12: return "Group Cursor";
    case 14: return "Group Icon";
    case 16: return "Version";
    case 17: return "Dialog Include";
    case 19:
    case 20: return "VXD";
    case 21: return "Animated Cursor";
    case 22: return "Animated Icon";
    case 23: return "HTML";
    default: return "Other (" + std::to_string(type) + ")";
    }
}

} // namespace vm
