// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/picture_commands.h"

#include "paint/painter.h"

#include <memory>

namespace guardianes {

namespace {

constexpr int kLargestSide = 10'000;

int parse_side(const std::string& text, const char* what) {
    const auto bad = [&] {
        return ScriptError(std::string(what) + " must be a whole number of pixels from 1 to " +
                           std::to_string(kLargestSide) + ", not '" + text + "'");
    };
    int value = 0;
    try {
        value = ScriptRunner::parse_int(text, what);
    } catch (const ScriptError&) {
        throw bad();
    }
    if (value < 1 || value > kLargestSide) throw bad();
    return value;
}

// A scene that exists, shown or hidden; a shot of any other is a mistake.
const Scene& existing(ScriptRunner& runner, const std::string& name, const std::string& what) {
    const std::size_t index = runner.scene_index(name);
    const Scene* scene = runner.simulation().scene(name);
    if (!scene) {
        throw ScriptError(what + ": " + name + " is " + to_string(runner.simulation().runtime().state(index)));
    }
    return *scene;
}

} // namespace

void add_picture_commands(ScriptRunner& runner, GlyphSourceMaker make_glyphs) {
    auto fonts = std::make_shared<std::unique_ptr<GlyphSource>>();

    runner.add_command("shot", [&runner, fonts, make_glyphs](const ScriptRunner::Args& a) {
        ScriptRunner::expect_args(a, 2, "shot SCENE FILE");
        const Scene& scene = existing(runner, a[0], "shot " + a[0]);
        if (!*fonts) *fonts = make_glyphs();
        Image image;
        Painter(**fonts).paint(scene, image);
        std::string error;
        if (!write_png(image, a[1], error)) throw ScriptError("shot " + a[0] + ": " + error);
    });

    runner.add_command("resize", [&runner](const ScriptRunner::Args& a) {
        ScriptRunner::expect_args(a, 3, "resize SCENE W H");
        runner.scene_index(a[0]);
        const int width = parse_side(a[1], "W");
        const int height = parse_side(a[2], "H");
        const std::string what = "resize " + a[0] + " " + a[1] + " " + a[2];
        Simulation& sim = runner.simulation();
        if (!sim.runtime().running()) return runner.ignored(what + ": the program has ended");
        Scene* scene = sim.scene(a[0]);
        if (!scene || !scene->shown()) return runner.ignored(what + ": " + a[0] + " is not shown");
        sim.runtime().resize(*scene, width, height);
    });
}

} // namespace guardianes
