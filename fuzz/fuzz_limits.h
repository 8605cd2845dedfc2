// Limits every fuzz target starts with: malloc and RSS below 512 MiB (given
// before the command line's flags, which may still change them), so that an
// allocation bomb is reported instead of swapped through.
#pragma once
#include <cstdint>
#include <vector>

#include "core/surface/fast_dib.h"

#ifndef VORQ_FUZZ_MAX_PIXELS
#define VORQ_FUZZ_MAX_PIXELS (int64_t(1) << 22)  // 4 Mpixels, 12 MiB a surface
#endif

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> args;
  static char rss[] = "-rss_limit_mb=480", malloc[] = "-malloc_limit_mb=480";
  args.assign(*argv, *argv + *argc);
  args.insert(args.begin() + 1, {rss, malloc});
  args.push_back(nullptr);
  *argc += 2;
  *argv = args.data();
  // Small images keep every honest allocation far below the limit (and the
  // editor's targets fast).
  vorq::LimitPixels(VORQ_FUZZ_MAX_PIXELS);
  return 0;
}
