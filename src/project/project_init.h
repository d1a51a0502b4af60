// A starting project file for a folder: one asset per picture and text found there, with comments that say
// what each key does.
#pragma once

#include <string>

namespace granvel {

// The text of a commented granvel.toml for the files under `folder` (a folder with a trailing separator, or
// ""): pictures (.bmp, .png) as backgrounds, texts (.txt) and raw screens (.rscr) as they convert by name,
// hidden files and the "out", "ZKP" and ".granvel" folders passed over.
std::string StarterProjectText(const std::string& folder);

}  // namespace granvel
