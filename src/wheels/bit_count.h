#pragma once
// The elements of a set (the bits of a mask) counted by bit arithmetic: the program is built for
// every x86-64, without the population-count instruction, where std::popcount is a library call
// and the searches count bits in their innermost loops.

#include <cstdint>

namespace quillstep {

inline int bitCount(uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

}  // namespace quillstep
