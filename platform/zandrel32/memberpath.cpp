#include "memberpath.h"

#include "utf8text.h"
#include "zipnames.h"

namespace zandrel {

bool samePath(const std::string& a, const std::string& b) { return vm::SameText(backslashed(a), backslashed(b)); }

std::string pathKey(const std::string& path) { return vm::UpperText(backslashed(path)); }

} // namespace zandrel
