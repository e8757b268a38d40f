// SPDX-License-Identifier: GPL-3.0-or-later
// The fire's three scripts: the pump, the clock that burns the gallons of
// water, and the engine's flashing roof lights.

#include "scenes/fire/fire.h"
#include "runtime/scene.h"
#include "scenes/scenes.h"

#include <array>
#include <charconv>
#include <string>

namespace guardianes {

namespace {

// The clock ticks at which a gallon runs out: the fire flares up again in
// every window and the pump's strokes count from zero.
constexpr int kFirstGallonOut = 82;
constexpr int kSecondGallonOut = 175;
constexpr int kThirdGallonOut = 264;

// The clock and the gallons are kept only as the text the player reads, so
// each step reads the number back from the caption and writes it anew.
int number(const Label& label) {
    int value = 0;
    const std::string& text = label.caption();
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void add(Label& label, int step) { label.set_caption(std::to_string(number(label) + step)); }

using Jet = std::array<Line*, 15>;

Jet jet_lines(const Scene& s, int first) {
    Jet jet{};
    for (int i = 0; i < 15; ++i) jet[static_cast<std::size_t>(i)] = &s.line("Line" + std::to_string(first + i));
    return jet;
}

void set_visible(const Jet& jet, bool visible) {
    for (Line* stroke : jet) stroke->set_visible(visible);
}

// The clock's next tick comes a full period after this moment.
void restart(Timer& timer) {
    timer.set_enabled(false);
    timer.set_enabled(true);
}

template <std::size_t N> void set_visible(const std::array<Label*, N>& labels, bool visible) {
    for (Label* label : labels) label->set_visible(visible);
}

struct Fire {
    explicit Fire(Scene& s)
        : bomba(s.label("bomba")), Label1(s.label("Label1")), label2(s.label("label2")), galones(s.label("galones")),
          galon(s.label("galon")), edificio(s.label("edificio")), win(s.label("win")), lose(s.label("lose")),
          luz1(s.label("luz1")), luz2(s.label("luz2")), go1(s.label("go1")), tan(s.shape("tan")),
          Timer1(s.timer("Timer1")), Timer2(s.timer("Timer2")), cont1(s.variant("cont1")), cont2(s.variant("cont2")),
          fue(s.int16("fue")), ven(s.labels("ven1", "ven2", "ven3", "ven4", "ven5", "ven6", "ven7", "ven8")),
          ama(s.labels("ama1", "ama2", "ama3", "ama4", "ama5", "ama6", "ama7", "ama8")),
          rubble(s.labels("s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8", "s9")), upper_jet(jet_lines(s, 1)),
          lower_jet(jet_lines(s, 16)), speaker(s.speaker()) {}

    Label& bomba;
    Label& Label1;
    Label& label2;
    Label& galones;
    Label& galon;
    Label& edificio;
    Label& win;
    Label& lose;
    Label& luz1;
    Label& luz2;
    Label& go1;
    Shape& tan;
    Timer& Timer1;
    Timer& Timer2;
    VariantCounter& cont1;
    VariantCounter& cont2;
    Int16Counter& fue;
    std::array<Label*, 8> ven;
    std::array<Label*, 8> ama;
    std::array<Label*, 9> rubble;
    Jet upper_jet;
    Jet lower_jet;
    Speaker speaker;

    // A window of the eight goes out.
    void put_out(std::size_t window) {
        ven[window]->set_visible(false);
        speaker.play(Cue::WindowOut);
    }

    void click_pump() {
        Timer2.set_enabled(true);
        cont2 += 1;
        speaker.play(Cue::PumpWater);
        switch (cont2.value()) {
        case 2:
            set_visible(upper_jet, true);
            set_visible(lower_jet, false);
            Timer2.set_enabled(false);
            break;
        case 5: put_out(0); break;
        case 10: put_out(1); break;
        case 15: put_out(2); break;
        case 20: put_out(3); break;
        case 22:
            set_visible(upper_jet, false);
            set_visible(lower_jet, true);
            restart(Timer2);
            break;
        case 25: put_out(4); break;
        case 30: put_out(5); break;
        case 35: put_out(6); break;
        case 40:
            put_out(7);
            speaker.play(Cue::Cheer);
            Timer2.set_enabled(false);
            bomba.set_enabled(false);
            set_visible(lower_jet, false);
            win.set_visible(true);
            break;
        default: break;
        }
    }

    void tick_clock() {
        add(Label1, 1);
        fue += 1;
        if (fue == kFirstGallonOut || fue == kSecondGallonOut || fue == kThirdGallonOut) {
            set_visible(ven, true);
            cont2 = 0;
            add(label2, -1);
            if (fue == kSecondGallonOut) {
                galones.set_visible(false);
                galon.set_visible(true);
            }
        } else if (number(label2) == 0) {
            bomba.set_enabled(false);
            Timer2.set_enabled(false);
            set_visible(ven, false);
            edificio.set_visible(false);
            lose.set_visible(true);
            set_visible(rubble, true);
            set_visible(lower_jet, false);
            set_visible(ama, false);
            speaker.play(Cue::TooBad);
        }
    }

    void tick_lights() {
        cont1 += 1;
        if (cont1 == 3) {
            luz1.set_back_color(go1.back_color());
            luz2.set_back_color(tan.back_color());
        } else if (cont1 == 6) {
            luz2.set_back_color(go1.back_color());
            luz1.set_back_color(tan.back_color());
            cont1 = 0;
        }
    }
};

void bind(Scene& form3) {
    Fire& fire = form3.attach<Fire>(form3);
    fire.bomba.on_click = [&fire] { fire.click_pump(); };
    fire.Timer2.on_tick = [&fire] { fire.tick_clock(); };
    fire.Timer1.on_tick = [&fire] { fire.tick_lights(); };
}

} // namespace

SceneDef fire_scene() { return {fire_table(), bind}; }

} // namespace guardianes
