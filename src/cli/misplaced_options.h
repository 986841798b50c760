#pragma once
// An option where the line cannot take it: a parameter after the commands, an option of a command
// before it or after another command, or a name nobody knows. The message says where it goes,
// with the corrected line built from the user's own words.

#include <string>
#include <vector>

namespace quillstep {

// arguments[at] begins with "--" and cannot stand where it is. `after` is the command it follows
// (the canonical name), or "" when it stands before the commands. The value that follows an
// option taking one moves with it. For example
//   "--time-limit belongs after optimise4: quillstep-cli run 12 optimise4 --time-limit 20"
//   "--total is a parameter and goes before the commands: quillstep-cli --total 20 run 12 search4"
//   "--seed is an option of optimise4, optimise5, complete4 and complete5; search4 takes --output"
//   "unknown option --totl; did you mean --total?"
std::string misplacedOptionMessage(const std::vector<std::string>& arguments, size_t at, const std::string& after);

}  // namespace quillstep
