#pragma once
// Gathers the frames of the animation a result entry belongs to: the
// consecutive entries of the entry list that share its source, type and kind.
// Save As uses it to write an ANI file or separate frame icons; the animation
// player may take it over.
#include <string>
#include <vector>

#include "hiddenlist.h"
#include "picture.h"

namespace vm {

// The key that ties the entries of one animation together: field 1 and the
// field that ends with the type code and kind ("book": fields split at ":",
// field 3; "open", "user", "sycu", "sytu": ";" and field 4; "azip": ";" and
// field 5). "" for kinds that hold no animation frames.
std::string AnimationKey(const std::string& entry);

// The frames of the animation of selectedEntry as it stands in cmbResult,
// from its first frame on, each at iconSize x iconSize; a frame that cannot
// be drawn gets the no-icon picture. Nothing when the entry is not in the
// list or its kind holds no frames. The frames are not limited in number.
std::vector<Picture> procCollectAnimationFrames(const HiddenList& cmbResult, const std::string& selectedEntry,
                                                int iconSize);

} // namespace vm
