// Choosing the pass kernel at run time, so that one build runs on every x86-64 processor and uses
// wider instructions only where the processor (and the operating system) has them.

#include "wheels/greedy/greedy_pass.h"

namespace quillstep {
namespace {

bool processorSupports(PassKernel kernel) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    switch (kernel) {
        case PassKernel::Portable: return true;
        case PassKernel::Popcnt: return __builtin_cpu_supports("popcnt");
        case PassKernel::Avx2: return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
        case PassKernel::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vpopcntdq") &&
                   __builtin_cpu_supports("popcnt");
    }
    return false;
#else
    return kernel == PassKernel::Portable;
#endif
}

}  // namespace

int32_t runGreedyPass(PassKernel kernel, const GreedyPassRequest& request) {
    switch (kernel) {
        case PassKernel::Popcnt: return greedyPassPopcnt(request);
        case PassKernel::Avx2: return greedyPassAvx2(request);
        case PassKernel::Avx512: return greedyPassAvx512(request);
        case PassKernel::Portable: break;
    }
    return greedyPassPortable(request);
}

std::vector<PassKernel> availablePassKernels() {
    std::vector<PassKernel> kernels;
    for (PassKernel kernel : {PassKernel::Portable, PassKernel::Popcnt, PassKernel::Avx2, PassKernel::Avx512})
        if (processorSupports(kernel)) kernels.push_back(kernel);
    return kernels;
}

PassKernel fastestPassKernel(int guaranteedHits) {
    static const PassKernel fastest = availablePassKernels().back();
    if (fastest == PassKernel::Avx2 && guaranteedHits >= 5) return PassKernel::Popcnt;
    return fastest;
}

const char* passKernelName(PassKernel kernel) {
    switch (kernel) {
        case PassKernel::Portable: return "portable";
        case PassKernel::Popcnt: return "popcnt";
        case PassKernel::Avx2: return "avx2";
        case PassKernel::Avx512: return "avx512";
    }
    return "?";
}

}  // namespace quillstep
