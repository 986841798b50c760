#pragma once
// What the processor offers the counting loops: whether it counts the bits of a word in one
// instruction (x86 POPCNT). A loop compiled for that instruction runs only where this says so.

namespace quillstep {

// Asked of the processor once; false where it cannot be asked (other processors and compilers).
bool processorHasPopcnt();

}  // namespace quillstep
