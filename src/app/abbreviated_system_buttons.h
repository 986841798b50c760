#pragma once
// Buttons "7 good numbers/get 4 in comb." (4) and "7 good numbers/get 5 in comb." (5): the use case
// of usecases/abbreviated_search.h, its progress in the count label and the progress label, its
// result in message boxes (texts/search_texts.h), the system file through the main window's
// writer observer.

#include <cstdint>
#include <filesystem>
#include <functional>

#include "engine/shared_state.h"
#include "platform/platform.h"
#include "texts/search_texts.h"
#include "usecases/abbreviated_search.h"

namespace quillstep {

// Called besides the count label for every 50 starting combinations checked.
using SearchProgressListener = std::function<void(int32_t startsChecked, int32_t startsInAll)>;

// `output`: a file name of the user's own, as given; empty: the guarantee's file in the output folder.
SearchOutcome searchAbbreviatedSystem(SharedState& state, Platform& platform, int guaranteedHits,
                                      const SearchProgressListener& listener = {},
                                      const std::filesystem::path& output = {});

}  // namespace quillstep
