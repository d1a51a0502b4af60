// The files a run converts, from the paths it was given: a folder stands for the files under it.
#pragma once

#include <string>
#include <vector>

namespace granvel {

// One file of a run; `Error`, when set, is why it cannot be tried (its folder could not be read).
struct RunInput {
  std::string Path;
  std::string Error;
};

// Each path as it is, except a folder, which gives the files under it, folder by folder: in each folder its
// folders first, then its files, each in the order a file manager shows them (NaturalLess). Hidden entries,
// the output folders this program makes ("ZKP" and "ZKP_..."), and links to folders (which could lead back
// up) are passed over; a folder named itself is always read, whatever its name.
std::vector<RunInput> ExpandInputs(const std::vector<std::string>& paths);

// Names as a file manager sorts them: A to Z without regard to case, and a run of digits by its value
// ("pic2" before "pic10"); names that still tie by their bytes.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace granvel
