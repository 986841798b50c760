#include "cli/exit_status.h"

#include <array>
#include <utility>

#include "files/number_text.h"
#include "texts/fault_texts.h"

namespace quillstep {
namespace {

constexpr std::array<std::pair<FaultKind, int>, 6> EXIT_STATUSES{{
    {FaultKind::None, 0},
    {FaultKind::Answer, 0},
    {FaultKind::Fault, 1},
    {FaultKind::Refused, 2},
    {FaultKind::Uncovered, 3},
    {FaultKind::NoSystemInTime, 4},
}};

}  // namespace

int exitStatusOf(FaultKind kind) {
    for (const auto& [k, status] : EXIT_STATUSES)
        if (k == kind) return status;
    return 1;
}

int reportNotWritten(std::ostream& out, FaultKind kind, const std::string& reason) {
    out << "not written: " << reason << std::endl;
    return exitStatusOf(kind);
}

int reportWrite(std::ostream& out, const Fault& fault, const FileWriteResult& file, std::string_view subject) {
    if (!fault.none()) return reportNotWritten(out, faultKindOf(fault), faultText(fault, subject));
    out << "file: " << file.fileName << " rows: " << file.rows
        << " seconds: " << maskedNumberText(file.seconds, "###.###############") << std::endl;
    return exitStatusOf(FaultKind::None);
}

}  // namespace quillstep
