#include "wheels/large_optimiser/cover_enumeration.h"

namespace quillstep::large {
namespace {

void extend(const int* numbers, int available, int start, int size, uint64_t chosen, std::vector<uint64_t>& out) {
    if (size == 0) {
        out.push_back(chosen);
        return;
    }
    for (int i = start; i <= available - size; ++i)
        extend(numbers, available, i + 1, size - 1, chosen | uint64_t{1} << numbers[i], out);
}

}  // namespace

void appendSubsets(uint64_t numbers, int size, std::vector<uint64_t>& out) {
    int list[64];
    int available = 0;
    for (uint64_t rest = numbers; rest != 0; rest &= rest - 1) {
        int v = 0;
        while (!(rest >> v & 1)) ++v;
        list[available++] = v;
    }
    if (size < 0 || size > available) return;
    extend(list, available, 0, size, 0, out);
}

}  // namespace quillstep::large
