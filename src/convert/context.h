// What every converter is handed besides its job: the settings, the host, the report it fills and the sink
// its output files go to.
#pragma once

#include <string>
#include <vector>

#include "convert/settings.h"
#include "platform/host.h"
#include "platform/output_sink.h"

namespace granvel {

// What one conversion did: the files it wrote and, when it failed, why.
struct ConvertReport {
  std::vector<std::string> Written;
  std::string Reason;  // the first failure's one-line reason
};

class ConvertContext {
 public:
  // Output goes to the file system unless `output` names another sink.
  ConvertContext(const ConvertSettings& settings, Host& host, ConvertReport& report,
                 OutputSink* output = nullptr)
      : settings_(settings), host_(host), report_(report), output_(output ? *output : DiskOutput()) {}

  const ConvertSettings& Settings() const { return settings_; }
  Host& GetHost() const { return host_; }

  // Records a failure's reason (the first one is kept) and returns false, so converters can `return
  // ctx.Fail(..)`.
  bool Fail(std::string reason) const {
    if (report_.Reason.empty())
      report_.Reason = std::move(reason);
    return false;
  }
  // Records a file that was written.
  void Wrote(const std::string& path) const { report_.Written.push_back(path); }

  // Writes a whole output file through the sink and records it; a failure is recorded with its reason.
  bool WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes) const {
    std::string error;
    if (!output_.WriteFile(path, bytes, error))
      return Fail(error);
    Wrote(path);
    return true;
  }
  // Makes an output folder through the sink unless it exists.
  bool EnsureOutputFolder(const std::string& path) const {
    std::string error;
    return output_.EnsureFolder(path, error) || Fail(error);
  }

 private:
  const ConvertSettings& settings_;
  Host& host_;
  ConvertReport& report_;
  OutputSink& output_;
};

}  // namespace granvel
