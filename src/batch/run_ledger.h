// What one run (a batch of files) has written, and from which input: a later input never replaces a file
// an earlier input of the same run wrote, and one input's second file of a name gets a name of its own.
#pragma once

#include <map>
#include <string>

#include "convert/context.h"
#include "platform/files.h"

namespace granvel {

class RunLedger : public OutputLedger {
 public:
  bool Claim(const std::string& input, std::string& path, std::string& note, std::string& error) override;

 private:
  struct Entry {
    std::string Path;   // as it was written
    std::string Input;  // the input it came from
  };
  std::map<std::string, Entry> written_;  // by the file's identity (PathIdentity)
  PathIdentities identities_;
};

// `path` with "_2", "_3", ... before its extension ("A_CHR.bmp" -> "A_CHR_2.bmp").
std::string NumberedPath(const std::string& path, int number);

}  // namespace granvel
