// Finding files whose names the game spells with varying case ("data/Menu" vs "data/menu").
#pragma once

#include <optional>
#include <string>

namespace toolcommon {

// Resolves 'relative' (components separated by '/') under 'base', matching each component
// exactly when possible, else ignoring ASCII case. Returns the real path, or nothing.
std::optional<std::string> ResolveNoCase(const std::string& base, const std::string& relative);

// Lower-cases ASCII letters.
std::string LowerAscii(std::string s);

}  // namespace toolcommon
