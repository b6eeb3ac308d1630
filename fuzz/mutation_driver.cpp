// Deterministic stand-in for libFuzzer: feeds a fuzz target its seed inputs and a
// fixed number of mutations of them (bit flips, byte changes, insertions, cuts,
// duplicated runs) from a seeded generator, so every run checks the same inputs.
// A crash, a sanitizer report or an escaping exception fails the test.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// A target may supply seeds of its own (built with the code under test).
extern "C" __attribute__((weak)) void OvixFuzzSeeds(std::vector<std::string>& seeds);

namespace {

struct Random {
  uint64_t state = 0x9E3779B97F4A7C15ull;
  uint64_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
  size_t Below(size_t n) { return n ? static_cast<size_t>(Next() % n) : 0; }
};

void Mutate(std::string& data, Random& random) {
  const size_t size = data.size();
  switch (random.Below(7)) {
    case 0: if (size) data[random.Below(size)] ^= static_cast<char>(1u << random.Below(8)); break;
    case 1: if (size) data[random.Below(size)] = static_cast<char>(random.Next()); break;
    case 2: data.insert(random.Below(size + 1), 1, static_cast<char>(random.Next())); break;
    case 3: if (size) data.erase(random.Below(size), 1 + random.Below(16)); break;
    case 4: data.resize(random.Below(size + 1)); break;
    case 5: if (size) { const size_t at = random.Below(size); data.insert(at, data.substr(at, 1 + random.Below(32))); } break;
    case 6: {  // an interesting integer in little-endian order
      static const uint32_t kValues[] = {0, 1, 0x7F, 0x80, 0xFF, 0x7FFF, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
      if (size >= 4) {
        const uint32_t v = kValues[random.Below(std::size(kValues))];
        std::memcpy(&data[random.Below(size - 3)], &v, 4);
      }
      break;
    }
  }
}

std::vector<std::string> LoadSeeds(const std::string& folder) {
  std::vector<std::string> seeds;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::ifstream in(entry.path(), std::ios::binary);
    seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (OvixFuzzSeeds) OvixFuzzSeeds(seeds);
  if (seeds.empty()) seeds.emplace_back();
  return seeds;
}

void Run(const std::string& data) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
}

}  // namespace

int main(int argc, char** argv) {
  long iterations = 10000;
  std::string seedFolder;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--iterations=", 13) == 0) iterations = std::atol(argv[i] + 13);
    if (std::strncmp(argv[i], "--seeds=", 8) == 0) seedFolder = argv[i] + 8;
  }
  const std::vector<std::string> seeds = LoadSeeds(seedFolder);
  Random random;
  for (const auto& seed : seeds) Run(seed);
  for (long i = 0; i < iterations; ++i) {
    std::string data = seeds[random.Below(seeds.size())];
    for (size_t n = 1 + random.Below(4); n > 0; --n) Mutate(data, random);
    Run(data);
  }
  std::printf("%zu seeds, %ld mutations: no failure\n", seeds.size(), iterations);
  return 0;
}
