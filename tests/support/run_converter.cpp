#include "support/run_converter.h"

#include <gtest/gtest.h>

#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel::test {

ConverterRun RunConverter(Converter converter, const std::string& path, const ConvertSettings& settings) {
  FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ConverterRun run;
  run.ok = converter(MakeConvertJob(path, false, settings), ctx);
  run.reason = report.Reason;
  run.written = report.Written;
  return run;
}

std::vector<std::uint8_t> GrpPagePayload(const std::string& path, const std::string& name) {
  const ContainerView view(ReadBytes(path));
  EXPECT_EQ(view.type, 2u) << path;
  EXPECT_EQ(view.storedSize, 49164u) << path;
  EXPECT_EQ(view.Name(), name) << path;
  EXPECT_TRUE(view.DigestMatches()) << path;
  EXPECT_EQ(std::string(view.stored.begin(), view.stored.begin() + 12), "QAVN0100RGRP") << path;
  return view.Payload();
}

}  // namespace granvel::test
