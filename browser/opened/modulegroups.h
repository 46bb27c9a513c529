#pragma once
// The icon groups of a PE module as the lister sees them, read from the
// module's bytes once: how many the shell counts, and which of them load
// whole and hold an image of a given width. Loading the module again for the
// count, for the names and for every group costs many times the read.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vm {

// For each icon group of a sound PE module, in the order the shell counts
// them: whether the group and every image it names are there (as the icon
// model's load from a module finds them) and one of its images is width
// pixels wide. Nothing for bytes that are no sound PE module.
std::optional<std::vector<bool>> ModuleGroupsWithWidth(std::span<const std::uint8_t> bytes, int width);

} // namespace vm
