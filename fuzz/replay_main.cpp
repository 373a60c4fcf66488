// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target on the given files without libFuzzer and without
// sanitizers, so the time budget is checked at the speed of a normal build.
// Directories are read file by file. Prints the slowest input at the end,
// and with ZELV_REPLAY_TIMES set the time of every input.
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// The input being run, named when a broken invariant aborts the replay.
std::string currentInput;

extern "C" void NameInput(int) {
  std::fprintf(stderr, "*** while replaying %s\n", currentInput.c_str());
  std::fflush(stderr);
}

// CPU milliseconds the target took for the file.
double RunFile(const std::filesystem::path& path) {
  currentInput = path.string();
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const double start = fuzz::ThreadCpuMs();
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return fuzz::ThreadCpuMs() - start;
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGABRT, NameInput);
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  const bool eachTime = std::getenv("ZELV_REPLAY_TIMES") != nullptr;
  std::size_t count = 0;
  double slowest = -1;
  std::string slowestInput;
  auto replay = [&](const std::filesystem::path& path) {
    const double spent = RunFile(path);
    ++count;
    if (eachTime) std::printf("%9.3f ms  %s\n", spent, path.c_str());
    if (spent > slowest) {
      slowest = spent;
      slowestInput = path.string();
    }
  };
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (entry.is_regular_file()) replay(entry.path());
      }
    } else {
      replay(path);
    }
  }
  std::printf("replayed %zu inputs", count);
  if (count > 0) std::printf("; slowest %.3f ms: %s", slowest, slowestInput.c_str());
  std::printf("\n");
  return 0;
}
