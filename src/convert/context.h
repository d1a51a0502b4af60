// What every converter is handed besides its job: the settings, the host, and the report it fills.
#pragma once

#include <string>
#include <vector>

#include "convert/settings.h"
#include "platform/host.h"

namespace granvel {

// What one conversion did: the files it wrote and, when it failed, why.
struct ConvertReport {
  std::vector<std::string> Written;
  std::string Reason;  // the first failure's one-line reason
};

class ConvertContext {
 public:
  ConvertContext(const ConvertSettings& settings, Host& host, ConvertReport& report)
      : settings_(settings), host_(host), report_(report) {}

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

 private:
  const ConvertSettings& settings_;
  Host& host_;
  ConvertReport& report_;
};

}  // namespace granvel
