// The one table of how work ends: every reason has one row, a kind and words with every fact put
// in, and the command line's last line and exit status follow from the fault alone, as its help
// and the README say. Real endings of the use cases come out with the kinds the README names.

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "cli/exit_status.h"
#include "support/test_support.h"
#include "texts/fault_texts.h"
#include "usecases/optimise_command.h"
#include "usecases/system_completion.h"

namespace quillstep {
namespace {

TEST(FaultTest, ExitStatusesAreTheDocumentedOnes) {
    EXPECT_EQ(exitStatusOf(FaultKind::None), 0);
    EXPECT_EQ(exitStatusOf(FaultKind::Answer), 0);
    EXPECT_EQ(exitStatusOf(FaultKind::Fault), 1);
    EXPECT_EQ(exitStatusOf(FaultKind::Refused), 2);
    EXPECT_EQ(exitStatusOf(FaultKind::Uncovered), 3);
    EXPECT_EQ(exitStatusOf(FaultKind::NoSystemInTime), 4);
}

TEST(FaultTest, EveryReasonHasOneRowAKindAndWordsWithItsFactsPutIn) {
    std::set<FaultReason> seen;
    for (const FaultRow& row : faultTable()) {
        EXPECT_NE(row.reason, FaultReason::None);
        EXPECT_TRUE(seen.insert(row.reason).second) << "twice: " << static_cast<int>(row.reason);
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(FAULT_REASON_COUNT - 1)) << "a reason without a row";

    for (int r = 1; r < FAULT_REASON_COUNT; ++r) {
        const Fault fault{static_cast<FaultReason>(r), 1234, 56, "DETAIL"};
        const FaultKind kind = faultKindOf(fault);
        EXPECT_NE(kind, FaultKind::None) << r;
        const std::string text = faultText(fault, "SUBJECT");
        EXPECT_FALSE(text.empty()) << r;
        EXPECT_EQ(text.find('{'), std::string::npos) << r << ": " << text;

        // The command line's last line and status come from the fault alone.
        std::ostringstream out;
        EXPECT_EQ(reportWrite(out, fault, {}, "SUBJECT"), exitStatusOf(kind)) << r;
        EXPECT_EQ(out.str(), "not written: " + text + "\n");
    }
    EXPECT_EQ(faultText({}), "");
    EXPECT_EQ(faultKindOf(Fault{}), FaultKind::None);
}

TEST(FaultTest, FactsAndWordsNotOursArePutInAsGiven) {
    EXPECT_EQ(faultText({FaultReason::NumberAboveTotal, 3, 27}),
              "combination 3 of the system holds a number above 27, the total numbers in system");
    // A detail that looks like a placeholder is the writer's, and stays as it is.
    EXPECT_EQ(faultText({FaultReason::WriteFailed, 7, 0, "disk {count} full"}), "disk {count} full");
    EXPECT_EQ(faultText({FaultReason::MembersUncovering, 2}, "the completed system"),
              "the completed system leaves 2 stored combinations uncovered");

    FileWriteResult file;
    file.fileName = "x.txt";
    file.error = "No space left on device";
    EXPECT_EQ(writtenFileFault(file).reason, FaultReason::WriteFailed);
    file.refusedBeforeReplacing = true;
    EXPECT_EQ(faultText(writtenFileFault(file)), "x.txt does not read back as the system that was written");
    file = {};
    file.written = true;
    file.fileName = "x.txt";
    file.rows = 12;
    std::ostringstream out;
    EXPECT_EQ(reportWrite(out, writtenFileFault(file), file), 0);
    EXPECT_EQ(out.str(), "file: x.txt rows: 12 seconds: 0.\n");
}

// The same want (nothing stored) is an answer to the optimiser and a refusal of a completion, as
// the README says (exit 0 and 2); a bad setting is refused by both.
TEST(FaultTest, UseCasesEndWithTheKindsTheReadmeNames) {
    auto state = createSharedState();
    ASSERT_TRUE(state);
    OptimiseSettings optimise;
    EXPECT_EQ(faultKindOf(optimiseStoredSystem(*state, optimise, {}).fault), FaultKind::Answer);
    const std::vector<uint64_t> line{0xFEu};
    CompletionSettings complete;
    EXPECT_EQ(faultKindOf(completeSystem(*state, line, complete, {}).fault), FaultKind::Refused);

    state->generatedCount = 1;
    optimise.guaranteedHits = complete.guaranteedHits = 6;
    EXPECT_EQ(faultKindOf(optimiseStoredSystem(*state, optimise, {}).fault), FaultKind::Refused);
    EXPECT_EQ(faultKindOf(completeSystem(*state, line, complete, {}).fault), FaultKind::Refused);
}

}  // namespace
}  // namespace quillstep
