// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes guardianes-sim's script reader with the input as a script. It must
// answer as the README promises, and never crash: status 0 and nothing on
// standard error, or status 2 and one line "line N: ..." naming a line of
// the script; and each answer on standard output one JSON object per line.

#include "sim/picture_commands.h"
#include "sim/script.h"
#include "sim/simulation.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace guardianes;

// Scripts that only take long, in virtual time or pixels, tell nothing new.
constexpr double kLongestWaits = 60.0 * 60 * 1000;
constexpr double kLargestArea = 4e6;

// Sends every picture to /dev/null, so that a fuzzed file name never writes
// anywhere; false for a script too slow to be worth running.
bool make_harmless(std::string& script) {
    std::istringstream in(script);
    std::string out;
    double waited = 0;
    for (std::string line; std::getline(in, line); out += line + '\n') {
        std::istringstream line_in(line);
        const std::vector<std::string> words{std::istream_iterator<std::string>(line_in), {}};
        if (words.empty()) continue;
        if (words[0] == "wait" && words.size() == 2) waited += std::strtod(words[1].c_str(), nullptr);
        if (words[0] == "resize" && words.size() == 4)
            if (std::strtod(words[2].c_str(), nullptr) * std::strtod(words[3].c_str(), nullptr) > kLargestArea)
                return false;
        if (words[0] == "shot" && words.size() == 3) line = "shot " + words[1] + " /dev/null";
    }
    if (!(waited <= kLongestWaits)) return false;
    script = out;
    return true;
}

[[noreturn]] void broken(const std::string& what, const std::string& script, const std::string& detail) {
    std::fprintf(stderr, "script reader: %s\n--- script ---\n%s--- detail ---\n%s\n", what.c_str(), script.c_str(),
                 detail.c_str());
    std::abort();
}

// "line N: <what>\n", with N one of the script's lines and <what> not empty.
bool is_error_line(const std::string& err, std::size_t lines) {
    if (!err.starts_with("line ") || err.find('\n') != err.size() - 1) return false;
    std::size_t n = 0;
    const char* const end = err.data() + err.size();
    const auto [after, error] = std::from_chars(err.data() + 5, end, n);
    const std::string_view rest(after, static_cast<std::size_t>(end - after));
    return error == std::errc() && err[5] != '0' && n <= lines && rest.starts_with(": ") && rest.size() > 3;
}

// Every string in an answer is a scene's own word or a word of the script
// already matched against one, so a fault in the writer shows as a quote or
// control character left unescaped, or a bracket left open or closed early.
bool is_one_object(const std::string& line) {
    if (line.empty() || line.front() != '{') return false;
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (static_cast<unsigned char>(c) < 0x20) return false;
        if (quoted) {
            i += c == '\\';
            quoted = c != '"';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if ((c == '}' || c == ']') && --depth == 0 && i + 1 != line.size()) {
            return false;
        }
    }
    return depth == 0 && !quoted;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string script(reinterpret_cast<const char*>(data), size);
    if (!make_harmless(script)) return 0;

    Simulation sim;
    std::ostringstream out;
    std::ostringstream err;
    ScriptRunner runner(sim, out);
    add_picture_commands(runner);
    std::istringstream in(script);
    const int status = runner.run(in, err);

    if (status == 0 && !err.str().empty()) broken("status 0 with an error message", script, err.str());
    if (status == 2 &&
        !is_error_line(err.str(), static_cast<std::size_t>(std::count(script.begin(), script.end(), '\n'))))
        broken("status 2 without one line 'line N: ...'", script, err.str());
    if (status != 0 && status != 2) broken("status " + std::to_string(status), script, err.str());
    std::istringstream answers(out.str());
    for (std::string answer; std::getline(answers, answer);)
        if (!is_one_object(answer)) broken("an answer that is not one JSON object", script, answer);
    return 0;
}
