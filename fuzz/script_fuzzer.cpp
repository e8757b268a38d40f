// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes guardianes-sim's script reader: the input's bytes are a script.
// Whatever it holds, the reader must answer as the README promises: status
// 0 with nothing on standard error, or status 2 with one line "line N: ..."
// naming a line of the script; every answer on standard output is one JSON
// object per line; and nothing may crash or throw past the reader.

#include "fuzz/json_check.h"
#include "sim/picture_commands.h"
#include "sim/script.h"
#include "sim/simulation.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace guardianes;

// Scripts that only take long say nothing new about the reader: more than
// an hour of virtual time, or a picture of more than four million pixels.
constexpr double kLongestWaits = 60.0 * 60 * 1000;
constexpr double kLargestArea = 4e6;

std::vector<std::string> words_of(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// Takes the script as the reader will, line by line, sending every picture
// to /dev/null so that a fuzzed file name never writes anywhere. Returns
// false for a script too slow to be worth running.
bool make_harmless(std::string& script) {
    std::istringstream in(script);
    std::string out;
    double waited = 0;
    for (std::string line; std::getline(in, line); out += line + '\n') {
        const std::vector<std::string> words = words_of(line);
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

std::size_t line_count(const std::string& script) {
    std::istringstream in(script);
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
}

// "line N: <what>\n", with N one of the script's lines and <what> not empty.
bool is_error_line(const std::string& err, std::size_t lines) {
    if (err.rfind("line ", 0) != 0 || err.empty() || err.back() != '\n') return false;
    if (err.find('\n') != err.size() - 1) return false;
    std::size_t pos = 5;
    std::size_t n = 0;
    while (pos < err.size() && err[pos] >= '0' && err[pos] <= '9')
        n = n * 10 + static_cast<std::size_t>(err[pos++] - '0');
    return pos > 5 && n >= 1 && n <= lines && err.compare(pos, 2, ": ") == 0 && err.size() > pos + 3;
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
    if (status == 2 && !is_error_line(err.str(), line_count(script)))
        broken("status 2 without one line 'line N: ...'", script, err.str());
    if (status != 0 && status != 2) broken("status " + std::to_string(status), script, err.str());
    std::istringstream answers(out.str());
    for (std::string answer; std::getline(answers, answer);)
        if (!is_json_object(answer)) broken("an answer that is not one JSON object", script, answer);
    return 0;
}
