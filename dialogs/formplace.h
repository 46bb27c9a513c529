#pragma once
// Where the dialogs open: the top and left edge stored under the Pos key as
// "<name>Top" and "<name>Left" (twips); a missing or 0 value centres the
// window on the screen in that direction.
#include <string>

#include "form.h"

namespace vm {

void procPlaceForm(Form& form, const std::string& name);
// Stores the window's edges, unless it is minimised.
void procSaveFormPlace(Form& form, const std::string& name);

} // namespace vm
