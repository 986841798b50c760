// CTest label: threads
// "Save as..." of the Smaller systems and Check a system windows on the headless platform, and the
// one writer of a system file under a name of the user's own: the same bytes as the guarantee's
// file, a file that exists replaced only by a checked system, a cancelled dialog and a name that
// cannot be written changing nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/dispatch.h"
#include "files/combination_file.h"
#include "windows/control_ids.h"
#include "app/generation_command.h"
#include "usecases/store_masks.h"
#include "files/system_file_reader.h"
#include "files/system_file_writer.h"
#include "platform/headless/headless_platform.h"
#include "support/test_support.h"
#include "windows/check_system_window.h"
#include "texts/smaller_systems_texts.h"
#include "windows/smaller_systems_window.h"
#include "windows/system_save_as.h"

namespace quillstep {
namespace {

namespace fs = std::filesystem;

uint64_t maskOf(std::initializer_list<int> numbers) {
    uint64_t mask = 0;
    for (int n : numbers) mask |= uint64_t{1} << n;
    return mask;
}

// Asks the optimiser to stop once it has reported a system, as Escape would, so that the tests
// do not wait for the time limit.
class StoppingPlatform : public HeadlessPlatform {
public:
    StoppingPlatform() {
        stopRequest = [this] { return reported_; };
    }
    void setWindowControlText(int controlId, const std::string& text) override {
        HeadlessPlatform::setWindowControlText(controlId, text);
        if (controlId == SMALLER_SYSTEMS_PROGRESS && text.find("so far") != std::string::npos) reported_ = true;
    }

private:
    bool reported_ = false;
};

class SystemSaveAs : public ::testing::Test {
protected:
    void SetUp() override {
        folder = freshTestFolder("quillstep-save-as-");
        state = createSharedState();
        ASSERT_TRUE(state);
        state->outputFolder = folder / "output";
        fs::create_directory(state->outputFolder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void storeFullWheel(int totalNumbers) {
        state->parameters.totalNumbers = totalNumbers;
        runGenerationCommand(*state, platform, 2);
    }

    fs::path folder;
    std::unique_ptr<SharedState> state;
    StoppingPlatform platform;
};

TEST_F(SystemSaveAs, TheWriterPutsTheSystemUnderTheChosenNameAsInTheDefaultFile) {
    storeFullWheel(11);
    const std::vector<uint64_t> stored = combinationMasks(*state);
    const std::vector<uint64_t> system{maskOf({1, 2, 3, 4, 5, 6, 7}), maskOf({1, 2, 3, 8, 9, 10, 11})};
    const SystemFileOutcome byDefault = writeCheckedSystemFile(*state, {stored, system, 4, false}, {});
    ASSERT_TRUE(byDefault.written());
    EXPECT_EQ(byDefault.file.fileName, G4_SYSTEM_FILE_NAME);

    const fs::path chosen = folder / "my system.txt";
    std::ofstream(chosen, std::ios::binary) << "an older file\r\n";
    const SystemFileOutcome own = writeCheckedSystemFile(*state, {stored, system, 4, false, chosen}, {});
    ASSERT_TRUE(own.written()) << own.file.error;
    EXPECT_EQ(own.file.fileName, chosen.string());
    EXPECT_EQ(own.file.rows, 2);
    EXPECT_EQ(readFile(chosen), readFile(state->outputFolder / G4_SYSTEM_FILE_NAME));
    const SystemFileContents back = readSystemFile(chosen);
    ASSERT_EQ(back.combinations.size(), 2u);
    EXPECT_EQ(back.combinations[1], (SystemFileCombination{1, 2, 3, 8, 9, 10, 11}));

    // A system that leaves stored combinations uncovered is refused: the chosen file stays.
    const std::vector<uint64_t> holed{maskOf({1, 2, 3, 4, 5, 6, 7})};
    const std::string before = readFile(chosen);
    const SystemFileOutcome refused = writeCheckedSystemFile(*state, {stored, holed, 4, false, chosen}, {});
    EXPECT_EQ(refused.fault.reason, FaultReason::MembersUncovering);
    EXPECT_EQ(readFile(chosen), before);

    // A folder that does not exist: the writer's fault, and nothing anywhere.
    const fs::path missing = folder / "missing" / "x.txt";
    const SystemFileOutcome failed = writeCheckedSystemFile(*state, {stored, system, 4, false, missing}, {});
    EXPECT_EQ(failed.fault.reason, FaultReason::WriteFailed);
    EXPECT_FALSE(failed.file.error.empty());
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_EQ(readFile(state->outputFolder / G4_SYSTEM_FILE_NAME), before);
}

TEST_F(SystemSaveAs, SmallerSystemsSavesTheLastSystemCancelledAndUnwritableNamesChangeNothing) {
    storeFullWheel(12);
    SmallerSystemsChoice choice;
    choice.timeLimitSeconds = 5;
    const fs::path chosen = folder / "kept.txt", unwritable = folder / "missing" / "x.txt";

    // Before any search the button is greyed: no dialog.
    platform.filesToSave = {chosen};
    platform.clicksForNextWindow = {SMALLER_SYSTEMS_SAVE_AS};
    runSmallerSystemsWindow(*state, platform, choice);
    EXPECT_FALSE(platform.isWindowControlEnabled(SMALLER_SYSTEMS_SAVE_AS));
    EXPECT_TRUE(platform.saveDialogTitles.empty());

    platform.filesToSave = {fs::path(), chosen, unwritable};  // cancel, a name, a name in no folder
    platform.clicksForNextWindow = {SMALLER_SYSTEMS_START, SMALLER_SYSTEMS_SAVE_AS, SMALLER_SYSTEMS_SAVE_AS,
                                    SMALLER_SYSTEMS_SAVE_AS};
    bool savedShown = false;
    platform.onMessage = [&](const std::string&) {
        // The cancelled dialog wrote nothing; the second click had written the file by the time
        // the writer's message box (of success, then of failure) came.
        savedShown = savedShown || fs::exists(chosen);
    };
    runSmallerSystemsWindow(*state, platform, choice);
    ASSERT_TRUE(platform.isWindowControlEnabled(SMALLER_SYSTEMS_SAVE_AS));
    const fs::path byDefault = state->outputFolder / G4_SYSTEM_FILE_NAME;
    ASSERT_TRUE(fs::exists(byDefault));
    EXPECT_EQ(platform.saveDialogTitles, std::vector<std::string>(3, SAVE_SYSTEM_FILE_TITLE));
    EXPECT_EQ(platform.saveDialogSuggestedNames[0], "system_g4.txt");
    EXPECT_TRUE(savedShown);
    ASSERT_TRUE(fs::exists(chosen));
    EXPECT_EQ(readFile(chosen), readFile(byDefault)) << "the last system, in the file's own format";
    const SystemFileContents saved = readSystemFile(chosen);
    ASSERT_TRUE(saved.ok());
    const std::string savedText = "Saved as " + chosen.string() + ": " + std::to_string(saved.combinations.size()) +
                                  " combinations.";
    bool sawSaved = false;
    for (const auto& [id, text] : platform.windowTextHistory) sawSaved = sawSaved || text == savedText;
    EXPECT_TRUE(sawSaved) << savedText;
    // The unwritable name: the writer's message box, the reason in the window, nothing lost.
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(platform.messages.back().rfind("Could not write " + unwritable.string() + ": ", 0), 0u)
        << platform.messages.back();
    EXPECT_EQ(platform.windowText(SMALLER_SYSTEMS_PROGRESS).rfind("Not written: ", 0), 0u)
        << platform.windowText(SMALLER_SYSTEMS_PROGRESS);
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_EQ(readFile(chosen), readFile(byDefault));
}

TEST_F(SystemSaveAs, ASystemWhoseDefaultFileCouldNotBeWrittenCanStillBeSaved) {
    storeFullWheel(10);
    state->outputFolder = folder / "gone";  // the default file has no folder to go to
    SmallerSystemsChoice choice;
    choice.timeLimitSeconds = 5;
    const fs::path chosen = folder / "rescued.txt";
    platform.filesToSave = {chosen};
    platform.clicksForNextWindow = {SMALLER_SYSTEMS_START, SMALLER_SYSTEMS_SAVE_AS};
    runSmallerSystemsWindow(*state, platform, choice);
    EXPECT_FALSE(fs::exists(folder / "gone"));
    const SystemFileContents saved = readSystemFile(chosen);
    ASSERT_TRUE(saved.ok());
    // Any two sevens of ten numbers share at least four: one combination covers the full wheel.
    EXPECT_EQ(saved.combinations.size(), 1u);
    EXPECT_EQ(platform.windowText(SMALLER_SYSTEMS_PROGRESS), "Saved as " + chosen.string() + ": 1 combination.");
}

TEST_F(SystemSaveAs, CheckASystemSavesTheCompletedSystemAndGreysTheButtonForAnotherFile) {
    storeFullWheel(11);
    const fs::path holed = folder / "holed.txt", other = folder / "other.txt", chosen = folder / "completed.txt";
    std::ofstream(holed, std::ios::binary) << "1,2,3,4,5,6,7\n";
    std::ofstream(other, std::ios::binary) << "1,2,3,4,5,6,7\n1,2,3,8,9,10,11\n";
    platform.filesToOpen = {holed, other};
    platform.filesToSave = {fs::path(), chosen};
    platform.clicksForNextWindow = {CHECK_GUARANTEE_DOWN, CHECK_SAVE_AS,  CHECK_OPEN_FILE, CHECK_COMPLETE,
                                    CHECK_SAVE_AS,        CHECK_SAVE_AS,  CHECK_OPEN_FILE};
    CheckSystemSession session;
    runCheckSystemWindow(*state, platform, session);

    EXPECT_EQ(platform.saveDialogTitles.size(), 2u) << "greyed before the completion";
    ASSERT_TRUE(fs::exists(chosen));
    EXPECT_EQ(readFile(chosen), readFile(state->outputFolder / G4_SYSTEM_FILE_NAME));
    const SystemFileContents saved = readSystemFile(chosen);
    ASSERT_EQ(saved.combinations.size(), 2u);
    EXPECT_EQ(saved.combinations[0], (SystemFileCombination{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(platform.isWindowControlEnabled(CHECK_SAVE_AS)) << "another file was opened";
    bool sawSaved = false;
    for (const auto& [id, text] : platform.windowTextHistory)
        sawSaved = sawSaved || (id == CHECK_RESULT_LABEL && text == "Saved as " + chosen.string() + ": 2 combinations.");
    EXPECT_TRUE(sawSaved);
}

}  // namespace
}  // namespace quillstep
