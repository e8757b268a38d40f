// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint/caption_layout.h"

#include "runtime/utf8.h"

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
    std::size_t lines() const { return lines_.size(); }
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
            std::size_t end = next_char(word, start);
            for (std::size_t next = 0; end < word.size(); end = next) {
                next = next_char(word, end);
                if (measure_.width(word.substr(start, next - start)) > area_width_) break;
            }
            append(word.substr(start, end - start));
            start = end;
            if (start < word.size()) end_line();
        }
    }

    // Ends the text between two line breaks, which takes one line at least.
    void end_paragraph(std::size_t lines_before) {
        if (!current_.empty() || lines_.size() == lines_before) end_line();
    }

    std::vector<CaptionLine> finish() { return std::move(lines_); }

private:
    int area_width_;
    const TextMeasure& measure_;
    std::string current_;
    std::vector<CaptionLine> lines_;
};

// Lays out the text between two line breaks as a caption of its own.
void lay_out_paragraph(std::string_view paragraph, LineBuilder& line) {
    const std::vector<Token> tokens = tokenise(paragraph);
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
}

} // namespace

std::vector<CaptionLine> layout_caption(std::string_view caption, int area_width, Alignment alignment,
                                        const TextMeasure& measure) {
    if (caption.empty()) return {};
    LineBuilder line(area_width, measure);
    for (;;) {
        const std::size_t lines_before = line.lines();
        const std::size_t end = caption.find('\n');
        std::string_view paragraph = caption.substr(0, end);
        if (end != std::string_view::npos && paragraph.ends_with('\r')) paragraph.remove_suffix(1);
        lay_out_paragraph(paragraph, line);
        line.end_paragraph(lines_before);
        if (end == std::string_view::npos) break;
        caption.remove_prefix(end + 1);
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
