// What every fuzz target defines. libFuzzer calls these; so does replay_main.cpp, which runs a
// target over its committed corpus as an ordinary test in every build.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
