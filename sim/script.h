// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/simulation.h"

#include <functional>
#include <iosfwd>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace guardianes {

// A mistake in a script line; the runner reports it as "line N: <what>".
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads guardianes-sim scripts: one command per line, answers as one JSON
// object per line. Blank lines and lines starting with '#' are skipped.
class ScriptRunner {
public:
    using Args = std::vector<std::string>;
    using Command = std::function<void(const Args&)>;

    // With `count_games`, `status` also says how many games have started.
    ScriptRunner(Simulation& sim, std::ostream& out, bool count_games = false);

    // Runs every line; on the first bad line, writes "line N: ..." to `err`
    // and returns 2, after the lines before it have run. Otherwise 0.
    int run(std::istream& in, std::ostream& err);
    // Runs one line (without its number); throws ScriptError.
    void execute(const std::string& line);

    // Adds a command; its arguments come without the command's own name.
    void add_command(std::string name, Command command);

    Simulation& simulation() { return sim_; }
    std::ostream& out() { return out_; }

    // Argument helpers shared by the commands.
    std::size_t scene_index(const std::string& name) const;
    static int parse_int(const std::string& text, const char* what);
    static Nanos parse_ms(const std::string& text);
    static void expect_args(const Args& args, std::size_t count, const char* usage);
    void ignored(const std::string& what);

private:
    void input(const Args& args, const char* verb);

    Simulation& sim_;
    std::ostream& out_;
    bool count_games_;
    std::map<std::string, Command, std::less<>> commands_;
};

} // namespace guardianes
