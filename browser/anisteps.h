#pragma once
// How many steps an animated cursor shows, from its RIFF "anih" header. No
// <windows.h>: the bytes are parsed with every size checked.
#include <cstdint>
#include <string_view>

namespace vm {

// A frame loop never runs further than this, whatever a header claims.
inline constexpr std::int32_t kMaxAniSteps = 256;

// The step count of an animated cursor file's bytes (its frame count when it
// gives no steps), at most kMaxAniSteps; 1 for bytes that are no RIFF "ACON"
// file or carry no readable header.
std::int32_t AniStepCount(std::string_view bytes);

} // namespace vm
