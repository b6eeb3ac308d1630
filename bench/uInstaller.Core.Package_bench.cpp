// Package writing and reading, and the coding layers underneath, on a payload
// folder named by OVIX_BENCH_PAYLOAD (scripts/bench-packages prepares one).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "DRX.Crypto.h"
#include "DRX.Hashes.h"
#include "uInstaller.Core.Package.h"

namespace {

namespace fs = std::filesystem;

struct TPayload {
  std::vector<std::pair<UString, std::string>> entries;
  int64_t bytes = 0;
  std::string package;  // the entries committed at level 4
};

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Commit(const TPayload& payload) {
  TSetupPackageBuilder builder(PackageKey);
  for (const auto& [name, content] : payload.entries) {
    TMemoryStream stream(content);
    builder.Add(stream, name);
  }
  TMemoryStream package;
  builder.Commit(package, 4);
  return std::string(package.Bytes());
}

const TPayload& Payload() {
  static const TPayload payload = [] {
    TPayload p;
    const char* folder = std::getenv("OVIX_BENCH_PAYLOAD");
    if (!folder) return p;
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      p.entries.emplace_back(Utf8ToUtf16(fs::relative(file, folder).string()), ReadWhole(file));
      p.bytes += static_cast<int64_t>(p.entries.back().second.size());
    }
    p.package = Commit(p);
    return p;
  }();
  return payload;
}

bool HavePayload(benchmark::State& state) {
  if (!Payload().entries.empty()) return true;
  state.SkipWithError("set OVIX_BENCH_PAYLOAD to a payload folder (scripts/bench-packages)");
  return false;
}

void BM_PackageCommit(benchmark::State& state) {
  if (!HavePayload(state)) return;
  for (auto _ : state) benchmark::DoNotOptimize(Commit(Payload()));
  state.SetBytesProcessed(state.iterations() * Payload().bytes);
}

void BM_PackageReadAndExtractAll(benchmark::State& state) {
  if (!HavePayload(state)) return;
  for (auto _ : state) {
    TMemoryStream source(Payload().package);
    TSetupPackageReader reader(source);
    for (int i = 0; i < reader.FileTable().Count(); ++i) benchmark::DoNotOptimize(reader.ExtractItem(i));
  }
  state.SetBytesProcessed(state.iterations() * Payload().bytes);
}

void BM_RC4(benchmark::State& state) {
  std::string block(16 << 20, 'x');
  TRC4State rc4;
  TRC4::Initialize(rc4, SetupPackageKey(PackageKey));
  for (auto _ : state) TRC4::Crypt(rc4, block.data(), block.data(), static_cast<int64_t>(block.size()));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(block.size()));
}

void BM_CRC32(benchmark::State& state) {
  const std::string block(16 << 20, 'x');
  for (auto _ : state) benchmark::DoNotOptimize(TDRXHashCRC32::Calculate(block.data(), static_cast<int64_t>(block.size())));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(block.size()));
}

}  // namespace

BENCHMARK(BM_PackageCommit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackageReadAndExtractAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RC4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CRC32)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
