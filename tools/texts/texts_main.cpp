// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-texts: writes, as a gettext template on standard output, the
// texts of the game's scenes: each window's title, and each label's caption
// that is words, with its place ("Form1|portal1") as its context and, for
// the translator, the label's size and font. xgettext finds the program's
// other texts in its sources; this finds those of the scene tables, whose
// place is the row they stand in.

#include "runtime/twips.h"
#include "scenes/scenes.h"
#include "session/texts.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <variant>

namespace {

using namespace guardianes;

// What each scene is, for a translator.
std::string_view scene_words(std::string_view scene) {
    if (scene == "Form1") return "The menu";
    if (scene == "Form2") return "The police's race";
    if (scene == "Form3") return "The city fire brigade's fire";
    if (scene == "Form4") return "The ambulance's patient";
    if (scene == "Form5") return "The closing street";
    return "A scene";
}

// What a translator cannot see from a label's size alone.
std::string_view note(std::string_view context) {
    if (context == "Form2|play1") return "Shown over the player's lane when the player's car wins.";
    if (context == "Form2|play2") return "Shown over the rival's lane when the rival car wins.";
    if (context == "Form2|play3") return "A draw, which the game never shows.";
    if (context == "Form3|galones") return "Beside the count of gallons left, from 3 down to 2.";
    if (context == "Form3|galon") return "Beside the count of gallons left at 1, and at 0 once the water has run out.";
    if (context == "Form4|ag1") return "The letters stand one a line down the bottle, below an empty first line.";
    return {};
}

// A text as a PO file writes it: quoted, a line for each line it has.
std::string quoted(std::string_view text) {
    std::string out = text.find('\n') != std::string_view::npos ? "\"\"\n\"" : "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += i + 1 < text.size() ? "\\n\"\n\"" : "\\n";
            continue;
        }
        out += c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return out + "\"";
}

void entry(const std::string& comment, std::string_view context, std::string_view original) {
    std::printf("%s\nmsgctxt %s\nmsgid %s\nmsgstr \"\"\n\n", comment.c_str(), quoted(context).c_str(),
                quoted(original).c_str());
}

std::string font_words(const Font& font) {
    std::string words = std::string(font.face) + " " + std::to_string(font.size);
    words.erase(words.find_last_not_of('0') + 1);
    if (words.back() == '.') words.pop_back();
    words += " pt";
    if (font.bold) words += " bold";
    if (font.italic) words += " italic";
    if (font.underline) words += " underlined";
    return words;
}

} // namespace

int main() {
    std::printf("# The texts of Guardianes, a game for children about the emergency services.\n"
                "# This file is distributed under the same licence as the game, GPL-3.0-or-later.\n"
                "#\n"
                "msgid \"\"\n"
                "msgstr \"\"\n"
                "\"Project-Id-Version: guardianes %s\\n\"\n"
                "\"Language: \\n\"\n"
                "\"MIME-Version: 1.0\\n\"\n"
                "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                "\"Content-Transfer-Encoding: 8bit\\n\"\n\n",
                GUARDIANES_VERSION);
    for (const SceneDef& scene : game_scenes()) {
        const SceneTable& table = scene.table;
        entry("#. " + std::string(scene_words(table.name)) +
                  ": its window's title, which the game's own text leaves at the scene's name.",
              caption_context(table.name, {}), table.window.caption);
        for (const ControlRow& row : table.controls) {
            const LabelProps* label = std::get_if<LabelProps>(&row.props);
            if (!label || !is_words(label->caption)) continue;
            const PixelRect box = to_pixels(TwipsRect{0, 0, label->width, label->height});
            std::string comment = "#. " + std::string(scene_words(table.name)) + ": the label " +
                                  std::string(row.name) + ", " + std::to_string(box.width()) + " x " +
                                  std::to_string(box.height()) + " pixels, in " + font_words(label->font) + ".";
            if (const std::string_view words = note(caption_context(table.name, row.name)); !words.empty())
                comment += "\n#. " + std::string(words);
            if (label->caption.find("  ") != std::string_view::npos)
                comment += "\n#. Runs of spaces push words onto lines of their own: a line break may stand for one.";
            entry(comment, caption_context(table.name, row.name), label->caption);
        }
    }
    return 0;
}
