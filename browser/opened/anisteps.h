#pragma once
// How many steps an animated icon file shows, read from its RIFF chunks. The
// count comes from the file's own header, never from drawing until a draw
// fails, and it is held to what the file really backs: a header may claim
// more steps than the file has frames or sequence entries.
#include <cstddef>
#include <string_view>

#include "icolayout.h"

namespace vm {

// No animation is listed with more steps than the reader lets through.
using ico::kMaxAniSteps;

// The steps of an animated icon file's bytes: the header's step count, no more
// than the sequence (or, without one, the frames) the file holds, and at most
// kMaxAniSteps. Bytes that are no RIFF ACON file count as one step.
int AniStepCount(std::string_view bytes);

} // namespace vm
