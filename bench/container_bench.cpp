// The floor every conversion stands on: MD5 and container assembly of one payload.
#include <benchmark/benchmark.h>

#include "format/container.h"
#include "platform/md5.h"

namespace granvel {
namespace {

void BM_Md5(benchmark::State& state) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(state.range(0)), 0x5A);
  for (auto _ : state) {
    Md5Digest digest = ComputeMd5(bytes);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Md5)->Arg(kGrpPayloadSize)->Arg(64 << 20);

void BM_BuildGrpContainer(benchmark::State& state) {
  const ResourcePayload payload = NewPayload(kTagGrp, kGrpPayloadSize);
  for (auto _ : state) {
    auto file = BuildZkpContainer(payload, ResourceType::Grp, "GRP");
    benchmark::DoNotOptimize(file.data());
  }
}
BENCHMARK(BM_BuildGrpContainer);

}  // namespace
}  // namespace granvel
