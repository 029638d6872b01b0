#pragma once
#include <string>
#include <string_view>

// Writes a temporary file beside the real one and renames it over, so the file always holds either
// the old or the new contents; false (and nothing changed, no temporary left) when that fails.
bool writeFileAtomically(const std::string& file_path, std::string_view contents);
