#include "cli/options.h"

#include <charconv>
#include <limits>
#include <set>

#include "cli/cli_commands.h"
#include "cli/echoed_text.h"
#include "cli/misplaced_options.h"
#include "cli/parameter_options.h"
#include "cli/suggestions.h"
#include "engine/generation_mode.h"
#include "quillstep_version.h"

#include "cli/draws_commands.h"
#include "cli/system_command_options.h"

namespace quillstep {

namespace {

const std::string HELP_TEXT =
    R"(Usage: quillstep-cli [PARAMETERS] COMMAND [COMMAND...]
       quillstep-cli --help | --version

Examples:
  quillstep-cli run 12 write                        store mode 12, write mb_comb_file.txt
  quillstep-cli run 12 search4                      greedy 4-hit system into mb_comb_file_ab.txt
  quillstep-cli run 12 optimise4 --time-limit 60    a smaller 4-hit system, searched for 60 s
  quillstep-cli run 12 check4 mb_comb_file_ab.txt   check a system file against the mode-12 store
  quillstep-cli profile mb_comb_file_ab.txt         what a system wins against every possible draw

Enumerates seven-number lottery combinations of 1..N, filters them, stores them, writes them to
text files, finds abbreviated systems among them and counts how often each number occurs. The
commands run in order in one process and share what they store, exactly as the buttons of the
Quillstep window do. Parameters go before the first command; a command's own options
(--time-limit, --seed, --steps, --any-combination, --output; --pool, --keys, --hits, --if) follow it.

Commands at a glance (each is described under "Commands" below):
  run MODE                         generate with mode 1 to 14 (even modes and 9 to 14 store)
  write                            the store to mb_comb_file.txt
  search4, search5 [--output FILE] greedy system, 4 (5) hits guaranteed
  optimise4, optimise5 [OPTIONS]   a smaller system (optimize4, optimize5 are the same)
  complete4, complete5 [OPTIONS] FILE
                                   a system file completed until it holds its guarantee
  check4, check5 FILE              a system file checked against the store
  profile FILE                     a system file against every possible draw
  match a,b,c,d,e,f,g FILE         one draw against a system file
  checkwheel --pool LIST --hits T --if M [--keys LIST] FILE
                                   a wheel on your own numbers checked: T hits if M are drawn
  wheel --pool LIST --hits T --if M [--keys LIST] [OPTIONS]
                                   a small wheel on your own numbers made and written
  stats                            how often each number occurs in the store
  history FILE                     each number over a file of past draws
  backtest FILE                    the parameters tried against past draws
  wins SYSTEM FILE [--price X] [--prizes ...]
                                   what a system would have won over past draws

Parameters (defaults as at start-up; every state the window's up/down buttons can reach is accepted):
  --total N            total numbers in the system, 8 to 39 (39)
  --min-sum S          smallest sum of a combination, 28 to max-sum (140)
  --max-sum S          largest sum of a combination, min-sum to 252 (150)
  --min-odd K          least odd numbers, 0 to 7 - min-even (3)
  --min-even K         least even numbers, 0 to 7 - min-odd (4)
  --forced F           number every combination must hold, 1 to 39 (25)
  --range-count K      exact count of numbers in 1..range-limit, 0 to 7 (2)
  --range-limit L      upper end of that range, 7 to 39 (20)
  --min-number A       smallest number allowed, 1 to max-number - 1 (1)
  --max-number B       largest number allowed, min-number + 1 to 39 (39)
  --max-neighbours K   most pairs of neighbouring numbers, 0 to 6 (3)
  --excluded a,b,c,d,e,f,g
                       seven excluded numbers, strictly increasing, 1 to 39 (1,2,3,4,5,6,7)
  --output-dir DIR     folder that receives the files; it must exist and be writable
                       (the current working directory, which must then be writable when a
                       command writes a file)
  A value may follow its option as the next argument or after "=". A value out of range is
  refused naming the option given and the range the other values leave it.

Commands:
  run MODE   generation mode 1 to 14 (the fourteen generation buttons, see "Modes"); prints
               combinations: <count>
               seconds: <elapsed seconds>
               description: <what the store holds; empty after a counting-only mode>

  write      writes mb_comb_file.txt from the store; prints
               file: mb_comb_file.txt rows: <n> seconds: <s>
             or "not written: <reason>".

  search4 [--output FILE]
             abbreviated system with 4 guaranteed hits, written to mb_comb_file_ab.txt
  search5 [--output FILE]
             abbreviated system with 5 guaranteed hits, written to mb_comb_file_ab5.txt; both print
               best start: <number>
               system size: <size>
               file: <file> rows: <n> seconds: <s>
             or "not written: <reason>". Progress goes to stderr; Ctrl+C stops the search and
             keeps the best system among the starting combinations checked so far, and
               stopped after: <starts checked> of <stored combinations>
             comes before "best start:".

  optimise4 [--time-limit S] [--seed N] [--steps N] [--any-combination] [--output FILE]
  optimise5 [the same options]
             (also spelt optimize4, optimize5) a system with 4 (5) guaranteed hits, never larger
             than the greedy search's and usually smaller: the greedy search (given at most a
             quarter of the time limit) is the start of the optimiser. On stores whose covering
             lists would not fit (such as the full wheel of 20 and larger at four hits) an
             optimiser without them takes the whole time instead, far below what the greedy
             search would find there in hours. The result is checked against the store and
             written to mb_comb_file_ab.txt (mb_comb_file_ab5.txt); prints
               system size: <size>
               file: <file> rows: <n> seconds: <s>
             or "not written: <reason>".
               --time-limit S     seconds, )" + std::to_string(SHORTEST_TIME_LIMIT_SECONDS) + " to " +
    std::to_string(LONGEST_TIME_LIMIT_SECONDS) + " (" + std::to_string(DEFAULT_TIME_LIMIT_SECONDS) + R"()
               --seed N           of the random choices, 0 to 18446744073709551615 (1)
               --steps N          most local-search moves, 1 to 9223372036854775807 (none); with
                                  the same seed and a step budget reached before the time limit,
                                  the system is the same every time, as long as the greedy search
                                  too ended within its share
               --any-combination  members may be any seven of 1..N, not only stored combinations
                                  (the file's description line then says how many lie outside
                                  the filters)
             Progress goes to stderr twice a second; Ctrl+C ends the search early and writes the
             best checked system found so far. Where the capacity proof of search4/search5 shows
             that no system of fewer than 1000 combinations can cover the store, the answer comes
             at once, with status 0 (the second line is one line):
               system size: 1000
               not written: no system of fewer than 1000 combinations can cover the <n> stored
               combinations (proven before any search)

  check4 FILE
  check5 FILE
             checks a system file (this program's own, with or without its header, or lines of
             seven numbers 1 to 39 separated by commas, blanks, tabs or semicolons, or all by one
             of - | / : . ("1-2-3-4-5-6-7"), each bare or in double or single quotes, full-width
             digits read as digits; before the first of them header lines of words, with no
             digit but in captions such as N1, or of this program's form "text"; UTF-8, or UTF-16
             after its byte order mark; lines end in LF, CR LF or CR; at most 1000000 lines
             of at most 1000 characters; a row number only in the form row,a,b,c,d,e,f,g with rows
             counting 1, 2, 3, ...; a file without any combination is refused with status 2)
             against the store; the file (of profile, match, complete4/5 and checkwheel too) must
             open before anything runs (unless an earlier command of the line writes it); prints
               stored share: <n> of <C(N,7)> draws (<share of all draws>%)
               stored: <n>
               system size: <s>
               uncovered: <stored combinations that share fewer than 4 (5) numbers with every line>
               best match: 7=<a> 6=<b> 5=<c> 4=<d> 3=<e> 2=<f> 1=<g> 0=<h>
               hole: <the first ten uncovered combinations, one line each>
             and ends with status 0 when nothing is uncovered, 3 when something is.

  profile FILE
             every possible draw of 1..N (N = --total) against a system file: the most numbers
             it shares with one line; needs no store; prints
               draws: <C(N,7)>
               best match: 7=<a> 6=<b> 5=<c> 4=<d> 3=<e> 2=<f> 1=<g> 0=<h>   (counts of draws)
               at least 3: <share of all draws>%
               at least 4: <share>%
               at least 5: <share>%
             (shares of draws, here and in stored share, are rounded to hundredths, but only
             all draws print as 100.00% and only none as 0.00%: a share below all prints at
             most 99.99%, one above none at least 0.01%)

  match a,b,c,d,e,f,g FILE
             one draw (seven different numbers 1 to N) against a system file; needs no store;
             prints
               hits: 7=<a> 6=<b> 5=<c> 4=<d> 3=<e> 2=<f> 1=<g> 0=<h>   (counts of lines)
               best: <most numbers shared> on line <the first line with that many>
             (lines are the file's combinations counted from 1, as its row numbers are)

  complete4 [--time-limit S] [--seed N] [--steps N] [--output FILE] FILE
  complete5 [the same options] FILE
             keeps every line of a system file and adds as few stored combinations as it finds
             within the time limit ()" + std::to_string(DEFAULT_TIME_LIMIT_SECONDS) + " s; " +
    std::to_string(SHORTEST_TIME_LIMIT_SECONDS) + " to " + std::to_string(LONGEST_TIME_LIMIT_SECONDS) + R"(), so that every stored combination shares
             at least 4 (5) numbers with a line; the result is checked against the store and
             written to mb_comb_file_ab.txt (mb_comb_file_ab5.txt), the file's lines first; a
             file that covers everything already is written unchanged; prints
               kept: <lines of FILE>
               added: <combinations added>
               system size: <kept + added>
               file: <file> rows: <n> seconds: <s>
             or "not written: <reason>". Progress goes to stderr; Ctrl+C ends the search early
             with what it found so far. Where no system of fewer than 1000 combinations of any
             numbers can cover the store, that is said at once, before any search, with status 2.

  checkwheel --pool LIST --hits T --if M [--keys LIST] FILE
             checks a wheel on your own numbers: for every M numbers of the pool that hold all
             the keys, some line of FILE (read as check4 reads it) must share at least T of them;
             needs no store; prints
               pool: <numbers in the pool>
               guarantee: <T> if <M>
               system size: <lines of FILE>
               uncovered: <sets of M pool numbers with all keys that no line gives T hits>
               hole: <the first ten of them, numbers ascending, one line each>
             and ends with status 0 when nothing is uncovered, 3 when something is, 2 when the
             wheel is refused or a line of FILE is not seven numbers of the pool holding every
             key (named by its line).
               --pool LIST   the pool: 8 to 39 different numbers of 1 to 39 as numbers and ranges
                             separated by commas, such as 1-15,22,30 or 3,7,11-20
               --keys LIST   0 to 3 numbers of the pool that every line holds (none), fewer
                             than T and at most M
               --hits T      the hits guaranteed, 2 to 6
               --if M        the numbers drawn from the pool, T to 7

  wheel --pool LIST --hits T --if M [--keys LIST] [--time-limit S] [--seed N] [--output FILE]
             makes a wheel on your own numbers as small as it finds within the time limit: for
             every M numbers of the pool that hold all the keys, some line shares at least T of
             them; every line holds the keys. --pool, --keys, --hits and --if as for checkwheel.
             The wheel is checked over every set of M pool numbers by code apart from the search,
             then written to mb_comb_file_wheel.txt (or FILE) with the pool, the keys and the
             guarantee in its header; needs no store; prints
               pool: <numbers in the pool>
               guarantee: <T> if <M>
               system size: <lines of the wheel>
               best published: <the best published size, where known; pools without keys>
               file: <file> rows: <n> seconds: <s>
             or "not written: <reason>" (status 4 when no wheel was complete in the time given;
             0 for a wheel of more than 999994 lines, which a wheel file cannot hold). Progress goes
             to stderr; Ctrl+C ends the search early and keeps the best wheel found so far.
               --time-limit S  seconds, 1 to 3600 (60); the search ends sooner when it reaches
                               a size no wheel can go below
               --seed N        the seed of the search (1)

  stats      counts how often each number occurs in the store; prints the counting message,
             then 39 lines "<number>: <count>" (the count is empty for 0)

  history FILE
             each number over a file of past draws (one draw per line: seven different numbers
             1 to 39 separated as in a system file, optionally a date first as YYYY-MM-DD,
             DD.MM.YYYY or DD/MM/YYYY, and up to three bonus numbers after them, which are kept
             apart; header lines of words before the first draw; at most 100000 draws). Dated
             draws are put in date order; without dates the file's first line is the oldest
             draw. Prints
               draws: <n>
               first: <date of the oldest draw, or 1>
               last: <date of the latest draw, or n>
               <number>: <times drawn> <draws since it last came, or never>   (39 lines)
               pair <a>,<b>: <times drawn together>   (the ten most frequent pairs)
             Past draws do not change the odds of the next one.
  backtest FILE
             the parameters given tried against a file of past draws; prints
               draws: <n>
               mode <m>: <kept> of <n> draws (<p>%), <q>% of all combinations   (14 lines)
               condition <name (its values)>: rejects <r> of <n> draws (<p>%)   (8 lines)
             where kept draws lie in 1..N and pass every condition of the mode, and <q> is the
             share of all 15380937 combinations of 1..39 the mode keeps
  wins SYSTEM FILE [--price X] [--prizes 3=A,4=B,5=C,6=D,7=E]
             a system file against a file of past draws; prints
               draws: <n>
               best match: 7=<a> 6=<b> ... 0=<h>   (draws by the most numbers one line shares)
               line hits: 7=<a> 6=<b> ... 0=<h>    (every line in every draw)
             and with --price or --prizes (amounts 0 to 10000000, at most two decimals; hits
             1 to 7; a class not given wins nothing)
               cost: <lines x price x draws>
               won: <the prizes of every line in every draw>
               balance: <won - cost>

  write, search4, search5, optimise4, optimise5, check4, check5, complete4, complete5 and stats
  are refused unless the last run before them stored its combinations; profile, match, history,
  backtest, wins, checkwheel and wheel are allowed anywhere.

The whole line is checked before the first command runs: a mistake or a refused command anywhere
means nothing runs and no file is written. An option in the wrong place is answered with where it
goes, for example "--time-limit belongs after optimise4: quillstep-cli run 12 optimise4
--time-limit 20"; a mistyped command or option, with the nearest ones.

Modes: 1/2 full wheel, 3/4 sum, 5/6 odd/even, 7/8 sum + odd/even (odd modes count only, even modes
store), 9 F+SUM+O/E, 10 R+F+SUM+O/E, 11 Min/Max+R+F+SUM+O/E, 12 N+MM+R+F+SUM+O/E,
13 all seven excluded numbers out, 14 at most two excluded numbers in (9 to 14 store).

Output: files are written to the current working directory unless --output-dir names another
folder. One rule for every command: stdout carries its lines as listed above and, for a command
that writes a file (write, search4/5, optimise4/5, complete4/5, wheel), one last line: its "file:"
line when the file was written, "not written: <reason>" when it was not, the reason in the words
the window uses. What is for people goes to stderr: progress, the window's messages ("message:
..."), why the line was refused, and why a file for check4/5, profile, match, history, backtest,
wins or checkwheel could not be read. The exit status is the kind of the command's ending, the same
for every command (below).

--output FILE after search4, search5, optimise4, optimise5, complete4, complete5 or wheel writes
that command's system to FILE instead of mb_comb_file_ab.txt (mb_comb_file_ab5.txt,
mb_comb_file_wheel.txt), in the same format: FILE as given, relative to the working directory (not
to --output-dir); its folder must exist and be writable before anything runs (status 2
otherwise); a FILE that exists is replaced only by a complete, checked file that reads back as
the system; the file: line names FILE.

Exit status (one rule for every command: the kind of its ending):
  0 done; also "not written:" for an answer rather than a fault (nothing stored, or a system of
    1000 or more from the search, "Not usefull! Try something else", or from the optimiser)
  1 a file or the standard output could not be written (also for want of memory: "not written:
    not enough memory for ...")
  2 bad arguments, a refused command, an output folder (or, without --output-dir, a working
    directory) that is missing or not writable, a system file or a file of past draws that cannot
    be read or holds a malformed line (the first one, named by its line number; for checkwheel also
    a line that is not seven numbers of the pool holding every key) or no draw, or a completion
    that found no system to write
  3 a checked system leaves combinations uncovered (check4/5), or a checked wheel leaves sets of
    drawn pool numbers uncovered (checkwheel)
  4 the optimiser found no system in the time given or before Ctrl+C ("not written: the optimiser
    found no system in the time given" or "not written: stopped before any system covered every
    stored combination"), or wheel none ("not written: no wheel covered every set of drawn numbers
    in the time given")
  130 or 143 a write of mb_comb_file.txt given up on SIGINT or SIGTERM ("not written: interrupted
    by SIGINT, the previous file is kept"; a signal that comes once the new file is in place ends
    the write with its file: line and status 0)
)";

}  // namespace

const char* const CLI_HELP_TEXT = HELP_TEXT.c_str();

const char* const CLI_VERSION_LINE = "quillstep-cli " QUILLSTEP_VERSION_TEXT "\n";

namespace {


// The seven excluded numbers; `typed` receives them as the user typed them.
bool parseExcluded(const std::string& text, GenerationParameters& p, std::vector<std::string>& typed,
                   std::string& error) {
    std::vector<int32_t> numbers;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        typed.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        const auto value = typedParameterValue(typed.back());
        if (!value) {
            error = "--excluded needs seven whole numbers separated by commas, got '" + echoedText(text) + "'";
            return false;
        }
        numbers.push_back(*value);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (numbers.size() != 7) {
        error = "--excluded needs exactly seven numbers, got " + std::to_string(numbers.size());
        return false;
    }
    for (int i = 0; i < 7; ++i) p.excludedNumbers[i + 1] = numbers[i];
    return true;
}

// The values as the user typed them, for the messages.
struct TypedValues {
    std::vector<GivenValue> integers;
    std::vector<std::string> excluded;
};

// The options before the first command; `next` is left at the first command. Returns false with
// `error` set on a mistake.
bool parseOptions(const std::vector<std::string>& arguments, size_t& next, CliOptions& options,
                  TypedValues& typed, std::string& error) {
    std::set<std::string> seen;
    for (; next < arguments.size(); ++next) {
        const std::string& argument = arguments[next];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return true;
        }
        if (argument == "--version") {
            options.version = true;
            return true;
        }
        if (argument.rfind("--", 0) != 0) break;
        std::string name = argument.substr(2), value;
        const size_t eq = name.find('=');
        if (eq != std::string::npos) name.resize(eq);
        const ParameterOption* option = findParameterOption(name);
        if (!option && name != "excluded" && name != "output-dir") {
            // An option of a command, or a name nobody knows: where it goes, or what is near.
            error = misplacedOptionMessage(arguments, next, "");
            return false;
        }
        if (eq != std::string::npos) {
            value = argument.substr(eq + 3);
        } else if (next + 1 < arguments.size()) {
            value = arguments[++next];
        } else {
            error = "--" + echoedText(name) + " needs a value";
            return false;
        }
        if (!seen.insert(name).second) {
            error = "--" + name + " is given twice";
            return false;
        }
        if (name == "excluded") {
            if (!parseExcluded(value, options.parameters, typed.excluded, error)) return false;
        } else if (name == "output-dir") {
            if (value.empty()) {
                error = "--output-dir needs a folder";
                return false;
            }
            options.outputFolder = value;
        } else if (const auto number = typedParameterValue(value)) {
            options.parameters.*(option->field) = *number;
            typed.integers.push_back({option, value});
        } else {
            error = "--" + name + " needs a whole number, got '" + echoedText(value) + "'";
            return false;
        }
    }
    return true;
}

// The commands from `next` on.
bool parseCommands(const std::vector<std::string>& arguments, size_t next, CliOptions& options, std::string& error) {
    for (; next < arguments.size(); ++next) {
        const std::string& name = arguments[next];
        const CliCommandRow* row = findCliCommand(name);
        if (!row) {
            if (name.rfind("--", 0) == 0) {
                error = misplacedOptionMessage(arguments, next, options.commands.empty() ? "" : options.commands.back().name);
            } else {
                const std::string nearest = didYouMean(closestCliCommands(name));
                error = "unknown command '" + echoedText(name) + "'" + (nearest.empty() ? " (see --help)" : nearest);
            }
            return false;
        }
        // Another spelling (optimize4) is the same command under its own name.
        CliCommand command{row->name, 0, row};
        if (row->argument == CommandArgument::Mode) {
            if (next + 1 < arguments.size() && arguments[next + 1].rfind("--", 0) == 0) {
                error = misplacedOptionMessage(arguments, next + 1, command.name);
                return false;
            }
            const bool hasMode = next + 1 < arguments.size();
            const auto mode = hasMode ? typedParameterValue(arguments[next + 1]) : std::nullopt;
            if (!mode || !isGenerationMode(*mode)) {
                error = name + " needs a mode from 1 to 14" +
                        (hasMode ? ", got '" + echoedText(arguments[next + 1]) + "'" : std::string());
                return false;
            }
            command.mode = *mode;
            ++next;
        } else if (row->argument == CommandArgument::SystemOptions) {
            if (!parseSystemCommandArguments(arguments, next, command, error)) return false;
        } else if (row->argument == CommandArgument::PastDraws) {
            if (!parseDrawsCommandArguments(arguments, next, command, error)) return false;
        }
        options.commands.push_back(command);
    }
    if (options.commands.empty()) {
        error = "no command given (see --help)";
        return false;
    }
    return true;
}

// Follows the store through the line as the window's buttons would: a run enables the store
// commands when its mode stores and disables them when it does not.
bool checkStoredCombinations(const CliOptions& options, std::string& error) {
    bool stored = false;
    for (const CliCommand& command : options.commands) {
        if (command.row->argument == CommandArgument::Mode) stored = isStoringMode(command.mode);
        if (command.row->needsStoredCombinations && !stored) {
            error = command.name +
                    " is refused: the last run before it did not store its combinations (use run with a storing "
                    "mode: 2, 4, 6, 8 to 14); nothing was run";
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<CliOptions> parseCommandLine(const std::vector<std::string>& arguments, std::string& error) {
    CliOptions options;
    // At most one command per argument: room for all at once, so that a long line never holds the
    // commands twice while they move to a larger block.
    options.commands.reserve(arguments.size());
    TypedValues typed;
    size_t next = 0;
    if (!parseOptions(arguments, next, options, typed, error)) return std::nullopt;
    if (options.help || options.version) return options;
    if (findUnreachableParameter(options.parameters)) {
        error = refusedParameterMessage(options.parameters, typed.integers, typed.excluded);
        return std::nullopt;
    }
    if (!parseCommands(arguments, next, options, error) || !checkStoredCombinations(options, error))
        return std::nullopt;
    for (const CliCommand& command : options.commands)
        if (error = drawMistake(command, options.parameters.totalNumbers); !error.empty()) return std::nullopt;
    return options;
}

}  // namespace quillstep
