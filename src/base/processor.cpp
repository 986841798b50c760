#include "base/processor.h"

namespace quillstep {

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
bool processorHasPopcnt() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("popcnt") != 0;
    }();
    return has;
}
#else
bool processorHasPopcnt() { return false; }
#endif

}  // namespace quillstep
