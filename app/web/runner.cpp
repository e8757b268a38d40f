// SPDX-License-Identifier: GPL-3.0-or-later
// The page's script runner, compiled to a WebAssembly module of its own
// (guardianes-runner.wasm): guardianes-sim's scripts on a simulation of
// their own, for the page's runScript. Tests and tools run scripts, a child
// never does, so the game's module leaves all of this out and the page
// loads this one at the first runScript. It implements:
//  - a script run as guardianes-sim runs it, in the language the page
//    plays in, answering with the status and the standard output and error;
//  - its shots kept in the in-memory file system, for the page's file(),
//    drawn with the glyphs the page hands over from the game's module;
//  - the build it comes from, so that the page never runs a runner of
//    another build beside its game.

#include "paint/baked_glyphs.h"
#include "sim/run_script.h"

#include <emscripten.h>

#include <memory>
#include <sstream>
#include <string>

namespace guardianes {

namespace {

// The game module's baked glyphs, of the same build: this module carries
// no second copy.
std::string glyphs;

struct ScriptResult {
    std::string out;
    std::string err;
} last_script;

} // namespace

} // namespace guardianes

extern "C" {

// Room for the game module's baked glyphs, `size` bytes, which the page
// fills before the first script.
EMSCRIPTEN_KEEPALIVE char* guardianes_glyph_room(int size) {
    guardianes::glyphs.resize(static_cast<std::size_t>(size));
    return guardianes::glyphs.data();
}

// Runs a guardianes-sim script, its scenes' texts in `language` as the
// page's lang attribute writes it ("" for the game's own), and returns its
// status; its standard output and error are then guardianes_script_out()
// and guardianes_script_err().
EMSCRIPTEN_KEEPALIVE int guardianes_run_script(const char* text, const char* language) {
    using namespace guardianes;
    std::istringstream in{std::string(text)};
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_sim_script(
        in, out, err, [] { return std::make_unique<BakedGlyphs>(glyphs); }, std::nullopt, language);
    last_script = {out.str(), err.str()};
    return status;
}
EMSCRIPTEN_KEEPALIVE const char* guardianes_script_out() { return guardianes::last_script.out.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* guardianes_script_err() { return guardianes::last_script.err.c_str(); }

// The build this module comes from, stamped as the game's module is (see
// host_web.cpp's guardianes_build).
EMSCRIPTEN_KEEPALIVE const char* guardianes_build() {
    static const char build[] = "guardianes build 0000000000000000";
    return build;
}
}
