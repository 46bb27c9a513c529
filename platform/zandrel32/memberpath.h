#pragma once
// Member paths compared as Windows compares file names: either separator, case ignored in
// every script. Names are UTF-8 by then.
#include <string>

namespace zandrel {

bool samePath(const std::string& a, const std::string& b);
// The path as samePath compares it, for sets of names already taken.
std::string pathKey(const std::string& path);

} // namespace zandrel
