// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/caption_layout.h"

namespace guardianes {

namespace {

struct Token {
    std::string_view text;
    bool spaces;
};

std::vector<Token> tokenise(std::string_view caption) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < caption.size()) {
        const bool spaces = caption[i] == ' ';
        std::size_t j = i;
        while (j < caption.size() && (caption[j] == ' ') == spaces) ++j;
        tokens.push_back({caption.substr(i, j - i), spaces});
        i = j;
    }
    return tokens;
}

class LineBuilder {
public:
    LineBuilder(int area_width, const TextMeasure& measure) : area_width_(area_width), measure_(measure) {}

    bool fits(std::string_view more) const { return measure_.width(current_ + std::string(more)) <= area_width_; }
    bool empty() const { return current_.empty(); }
    void append(std::string_view text) { current_ += text; }
    void end_line() {
        lines_.push_back({current_, 0, measure_.width(current_)});
        current_.clear();
    }

    // Puts a word on the current line, breaking it between characters when
    // it is wider than the whole area. Every line gets one character at
    // least, so a very narrow area still makes progress.
    void place_word(std::string_view word) {
        if (measure_.width(word) <= area_width_) {
            append(word);
            return;
        }
        std::size_t start = 0;
        while (start < word.size()) {
            std::size_t end = start + 1;
            while (end < word.size() && measure_.width(word.substr(start, end + 1 - start)) <= area_width_) ++end;
            append(word.substr(start, end - start));
            start = end;
            if (start < word.size()) end_line();
        }
    }

    std::vector<CaptionLine> finish() {
        if (!current_.empty()) end_line();
        return std::move(lines_);
    }

private:
    int area_width_;
    const TextMeasure& measure_;
    std::string current_;
    std::vector<CaptionLine> lines_;
};

} // namespace

std::vector<CaptionLine> layout_caption(std::string_view caption, int area_width, Alignment alignment,
                                        const TextMeasure& measure) {
    const std::vector<Token> tokens = tokenise(caption);
    LineBuilder line(area_width, measure);

    std::size_t i = 0;
    if (!tokens.empty() && tokens[0].spaces) {
        const std::string_view run = tokens[0].text;
        const bool word_follows = tokens.size() > 1;
        const std::string opening = std::string(run) + std::string(word_follows ? tokens[1].text : "");
        if (line.fits(opening)) {
            line.append(run);
        } else {
            line.end_line(); // the run ends the first line, which stays empty
        }
        i = 1;
    }

    for (; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (!token.spaces) {
            if (!line.empty() && !line.fits(token.text)) line.end_line();
            line.place_word(token.text);
            continue;
        }
        const bool word_follows = i + 1 < tokens.size();
        const std::string run_and_word = std::string(token.text) + std::string(word_follows ? tokens[i + 1].text : "");
        if (line.fits(run_and_word)) {
            line.append(token.text);
        } else if (!line.empty()) {
            line.end_line(); // the run is dropped; the next word starts a line
        }
    }

    std::vector<CaptionLine> lines = line.finish();
    for (CaptionLine& l : lines) {
        switch (alignment) {
        case Alignment::Left: l.x = 0; break;
        case Alignment::Right: l.x = area_width - l.width; break;
        case Alignment::Centre: l.x = (area_width - l.width) / 2; break;
        }
    }
    return lines;
}

} // namespace guardianes
