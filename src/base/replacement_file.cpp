// What the writers of every system share: the temporary names and the removal of the ones that
// writers which died on the way left behind.

#include "base/replacement_file.h"

#include <charconv>
#include <string_view>
#include <system_error>

namespace quillstep {
namespace {

constexpr std::string_view TEMPORARY_SUFFIX = ".partial";

// The process id in "<pid>-<serial>", or 0 when the text has another form.
uint64_t processIdOf(std::string_view middle) {
    const size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size()) return 0;
    for (char c : middle.substr(dash + 1))
        if (c < '0' || c > '9') return 0;
    uint64_t id = 0;
    const auto [end, error] = std::from_chars(middle.data(), middle.data() + dash, id);
    return error == std::errc() && end == middle.data() + dash ? id : 0;
}

}  // namespace

std::filesystem::path temporaryNameOf(const std::filesystem::path& target, uint64_t processId, unsigned serial) {
    std::string suffix(1, '.');
    suffix += std::to_string(processId);
    suffix += '-';
    suffix += std::to_string(serial);
    suffix += TEMPORARY_SUFFIX;
    std::filesystem::path name = target;
    name += suffix;
    return name;
}

void removeLeftoverTemporaries(const std::filesystem::path& target) {
    const std::string prefix = target.filename().string() + ".";
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() + TEMPORARY_SUFFIX.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            !std::string_view(name).ends_with(TEMPORARY_SUFFIX))
            continue;
        const uint64_t writer = processIdOf(std::string_view(name).substr(
            prefix.size(), name.size() - prefix.size() - TEMPORARY_SUFFIX.size()));
        if (writer != 0) removeIfLeftOver(it->path(), writer);
    }
}

}  // namespace quillstep
