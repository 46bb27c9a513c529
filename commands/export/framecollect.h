#pragma once
// Gathers the frames of the animation a result entry belongs to: the
// consecutive entries of the entry list that share its source, type and kind.
// Play shows them in the animation player; Save As writes them as an ANI file
// or separate frame icons.
#include <string>
#include <vector>

#include "hiddenlist.h"
#include "anisteps.h"
#include "picture.h"

namespace vm {

// The key that ties the entries of one animation together: field 1 and the
// field that ends with the type code and kind ("book": fields split at ":",
// field 3; "open", "user", "sycu", "sytu": ";" and field 4; "azip": ";",
// the archive (field 2) and field 5). "" for kinds that hold no animation frames.
// The frames one gathering takes at most: as many as an animated file may
// have steps. The film grows with them, so no frame of a longer animation
// is dropped below that.
inline constexpr std::size_t kMaxAnimationFrames = kMaxAniSteps;

std::string AnimationKey(const std::string& entry);

// The frames of the animation of selectedEntry as it stands in cmbResult,
// from its first frame on, each at iconSize x iconSize; a frame that cannot
// be drawn gets the no-icon picture. Nothing when the entry is not in the
// list or its kind holds no frames. At most kMaxAnimationFrames frames, the
// first ones, are gathered.
std::vector<Picture> procCollectAnimationFrames(const HiddenList& cmbResult, const std::string& selectedEntry,
                                                int iconSize);

} // namespace vm
