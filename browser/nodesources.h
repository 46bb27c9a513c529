#pragma once
// The icon sources a node of the navigation tree lists that live outside the
// library: opened files (the favourites listing hands its files over) and the
// Windows sources. The main window fills these in; a source left empty lists
// nothing, without an error, so a node whose source is missing shows an empty page.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace vm {

struct NodeSources {
    // The icons of every file in lstFiles appended to the entry list, page 1 shown.
    std::function<void()> searchOpen;
    // The shortcuts of "Start Menu" or "Desktop": a new list, page 1 shown.
    std::function<void(const std::string& scope)> searchShortcuts;
    // One current cursor (OCR id, role name) appended to the entry list.
    std::function<void(std::int32_t ocrId, const std::string& role)> currentCursor;
    // The file types under root\keyPath appended (rows into lstChange too).
    std::function<void(HKEY root, const std::string& keyPath)> searchFileTypes;
    // One entry per row of lstChange appended.
    std::function<void()> searchSystemIcons;
    // One cursor of a scheme (file, scheme name, 1-based position) appended.
    std::function<void(const std::string& file, const std::string& scheme, int position)> themeCursor;
};

} // namespace vm
