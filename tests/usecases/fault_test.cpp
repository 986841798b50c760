// The one shape of how a use case ended: every reason of every use case has its kind, and the
// command line's exit status follows from the kind alone, as its help and the README say.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/exit_status.h"
#include "usecases/fault.h"

namespace quillstep {
namespace {

TEST(FaultTest, ExitStatusesAreTheDocumentedOnes) {
    EXPECT_EQ(exitStatusOf(FaultKind::None), 0);
    EXPECT_EQ(exitStatusOf(FaultKind::Answer), 0);
    EXPECT_EQ(exitStatusOf(FaultKind::Fault), 1);
    EXPECT_EQ(exitStatusOf(FaultKind::Refused), 2);
    EXPECT_EQ(exitStatusOf(FaultKind::Uncovered), 3);
    EXPECT_EQ(exitStatusOf(FaultKind::NoSystemInTime), 4);
    std::ostringstream out;
    EXPECT_EQ(reportNotWritten(out, FaultKind::Refused, "why"), 2);
    EXPECT_EQ(out.str(), "not written: why\n");
}

TEST(FaultTest, SearchAndWriterEndings) {
    FileWriteResult file;
    EXPECT_EQ(faultKindOf(file), FaultKind::Fault);
    file.written = true;
    EXPECT_EQ(faultKindOf(file), FaultKind::None);

    SearchOutcome search;
    EXPECT_EQ(faultKindOf(search), FaultKind::Answer) << "nothing stored";
    search.refusal = SearchRefusal::OutOfMemory;
    EXPECT_EQ(faultKindOf(search), FaultKind::Fault);
    search.searched = true;
    search.refusal = SearchRefusal::None;
    search.systemSize = ABBREVIATED_SYSTEM_CAPACITY;
    EXPECT_EQ(faultKindOf(search), FaultKind::Answer) << "not usefull";
    search.systemSize = 23;
    EXPECT_EQ(faultKindOf(search), FaultKind::Fault) << "searched, file not written";
    search.file.written = true;
    EXPECT_EQ(faultKindOf(search), FaultKind::None);
}

TEST(FaultTest, OptimiserAndCompletionEndings) {
    const std::pair<OptimiseFault, FaultKind> optimise[] = {
        {OptimiseFault::None, FaultKind::None},
        {OptimiseFault::NothingStored, FaultKind::Answer},
        {OptimiseFault::TooLargeForFile, FaultKind::Answer},
        {OptimiseFault::NoSystemBelowCapacity, FaultKind::Answer},
        {OptimiseFault::TimeLimitOutOfRange, FaultKind::Refused},
        {OptimiseFault::NoSystemInTime, FaultKind::NoSystemInTime},
        {OptimiseFault::StoppedBeforeAnySystem, FaultKind::NoSystemInTime},
        {OptimiseFault::SystemFileFault, FaultKind::Fault},
        {OptimiseFault::OutOfMemory, FaultKind::Fault},
    };
    for (const auto& [fault, kind] : optimise) {
        OptimiseOutcome outcome;
        outcome.fault = fault;
        EXPECT_EQ(faultKindOf(outcome), kind) << static_cast<int>(fault);
    }

    const std::pair<CompletionFault, FaultKind> completion[] = {
        {CompletionFault::None, FaultKind::None},
        {CompletionFault::NumberAboveTotal, FaultKind::Refused},
        {CompletionFault::NoSystemBelowCapacity, FaultKind::Refused},
        {CompletionFault::TooLargeForFile, FaultKind::Refused},
        {CompletionFault::OutOfMemory, FaultKind::Fault},
    };
    for (const auto& [fault, kind] : completion) {
        CompletionOutcome outcome;
        outcome.fault = fault;
        EXPECT_EQ(faultKindOf(outcome), kind) << static_cast<int>(fault);
    }
    CompletionOutcome unwritten;
    unwritten.fault = CompletionFault::SystemFileFault;
    unwritten.systemFile.fault = SystemFileFault::WriteFailed;
    EXPECT_EQ(faultKindOf(unwritten), FaultKind::Fault);
    unwritten.systemFile.fault = SystemFileFault::GuaranteeNotHeld;
    EXPECT_EQ(faultKindOf(unwritten), FaultKind::Refused);

    SystemCheck check;
    EXPECT_EQ(faultKindOf(check), FaultKind::None);
    check.uncovered = 35;
    EXPECT_EQ(faultKindOf(check), FaultKind::Uncovered);
}

}  // namespace
}  // namespace quillstep
