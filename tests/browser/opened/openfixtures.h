#pragma once
// Test files of the opened-files listing: one-colour icons, animations with a
// header that may lie, and ZIP archives written by the host's Info-ZIP.
#include <cstdint>
#include <string>
#include <vector>

namespace vmtest {

// A one-image 32-bit icon file, opaque: the left half `left`, the right half
// `right` (0x00RRGGBB).
std::string twoColourIcon(int size, std::uint32_t left, std::uint32_t right);
inline std::string solidIcon(int size, std::uint32_t rgb) { return twoColourIcon(size, rgb, rgb); }

// A RIFF ACON file of the given frames (icon files), whose header announces
// `steps` steps; with a sequence when `sequence` is not empty.
std::string aniFile(const std::vector<std::string>& frames, std::uint32_t steps,
                    const std::vector<std::uint32_t>& sequence = {});

// Runs Info-ZIP's zip in folder to write archive (a name in that folder)
// from args; false when it cannot be run here or wrote nothing.
bool infoZip(const std::string& folder, const std::string& archive, const std::string& args);

} // namespace vmtest
