// SPDX-License-Identifier: GPL-3.0-or-later
// The closing sequence: the car drives up to the traffic light and stops at
// red, the truck then tows the credits across the street, night falls, and
// the convoy stops out of view as the closing text appears. The lamps of the
// car and the truck flash for as long as the scene lives.

#include "scenes/closing/closing.h"
#include "runtime/scene.h"
#include "scenes/scenes.h"

#include <array>
#include <string_view>
#include <variant>
#include <vector>

namespace guardianes {

namespace {

constexpr Twips kCarStep = 90;    // twips up per tick of the car
constexpr Twips kConvoyStep = 90; // twips left per tick of the convoy

// The lamps' ticks at which they take their first and their second colours;
// the cycle then starts again from 0.
constexpr int kFirstColours = 3;
constexpr int kSecondColours = 6;

// The car's ticks at which the traffic light turns amber, then red, and at
// which the car stops and the convoy sets off.
constexpr int kAmber = 15;
constexpr int kRed = 20;
constexpr int kCarStops = 21;

// The sky's ticks at which it darkens at dusk and in the evening, takes the
// evening's colour once more, turns to night, and the closing text ends it.
constexpr int kDusk = 30;
constexpr int kEvening = 60;
constexpr int kLateEvening = 90;
constexpr int kNight = 120;
constexpr int kTheEnd = 158;

// The convoy mixes labels and shapes, and they must move in one fixed order.
using ConvoyPart = std::variant<Label*, Shape*>;

ConvoyPart convoy_part(const Scene& s, std::string_view name) {
    const Control* control = s.find(name);
    if (control && control->kind() == ControlKind::Shape) return &s.shape(name);
    return &s.label(name);
}

struct Closing {
    explicit Closing(Scene& s)
        : Timer1(s.timer("Timer1")), Timer2(s.timer("Timer2")), Timer3(s.timer("Timer3")), Timer4(s.timer("Timer4")),
          a(s.variant("a")), b(s.variant("b")), c(s.int16("c")), luz1(s.label("luz1")), luz2(s.label("luz2")),
          cam9(s.label("cam9")), cielo(s.label("cielo")), lbl(s.label("lbl")), grama(s.label("grama")),
          ro(s.label("ro")), ro2(s.label("ro2")), ama(s.label("ama")), ama2(s.label("ama2")), azu2(s.label("azu2")),
          azu3(s.label("azu3")), azu4(s.label("azu4")), sem1(s.shape("sem1")), sem2(s.shape("sem2")),
          sem3(s.shape("sem3")),
          car(s.labels("luz1", "luz2", "luz3", "luz4", "luz5", "luz6", "luz7", "luz8", "luz9", "luz10")),
          night_sky{&s.shape("es1"), &s.shape("es2"), &s.shape("es3"),
                    &s.shape("es4"), &s.shape("es5"), &s.shape("es6")},
          speaker(s.speaker()) {
        for (const char* name :
             {"cam1", "cam2", "cam3", "cam4", "cam5", "cam6", "cam7", "cam8", "cam9", "cam10", "cam11", "cam12",
              "ba1",  "ba2",  "ba3",  "ba4",  "ba5",  "ba6",  "ba7",  "ba8",  "ba9",  "ba10",  "ba11"})
            convoy.push_back(convoy_part(s, name));
    }

    Timer& Timer1;
    Timer& Timer2;
    Timer& Timer3;
    Timer& Timer4;
    VariantCounter& a;
    VariantCounter& b;
    Int16Counter& c;
    Label& luz1;
    Label& luz2;
    Label& cam9;
    Label& cielo;
    Label& lbl;
    Label& grama;
    // The palette squares the colours are copied from.
    Label& ro;
    Label& ro2;
    Label& ama;
    Label& ama2;
    Label& azu2;
    Label& azu3;
    Label& azu4;
    Shape& sem1;
    Shape& sem2;
    Shape& sem3;
    std::array<Label*, 10> car;
    std::array<Shape*, 6> night_sky;
    std::vector<ConvoyPart> convoy;
    Speaker speaker;

    void tick_lamps() {
        a += 1;
        if (a == kFirstColours) {
            luz1.set_back_color(ro.back_color());
            luz2.set_back_color(ro2.back_color());
            cam9.set_back_color(ama.back_color());
        } else if (a == kSecondColours) {
            luz1.set_back_color(ro2.back_color());
            luz2.set_back_color(ro.back_color());
            cam9.set_back_color(ama2.back_color());
            a = 0;
        }
    }

    void tick_car() {
        b += 1;
        for (Label* part : car) part->set_top(part->top() - kCarStep);
        if (b == kAmber) {
            sem2.set_back_color(ama.back_color());
            sem3.set_back_color(grama.back_color());
        } else if (b == kRed) {
            sem2.set_back_color(ama2.back_color());
            sem1.set_back_color(ro.back_color());
        } else if (b == kCarStops) {
            Timer2.set_enabled(false);
            Timer3.set_enabled(true);
            speaker.play(Cue::TruckHorn);
        }
    }

    void tick_convoy() {
        for (ConvoyPart part : convoy) std::visit([](auto* p) { p->set_left(p->left() - kConvoyStep); }, part);
    }

    void tick_sky() {
        c += 1;
        if (c == kDusk) {
            cielo.set_back_color(azu2.back_color());
            speaker.play(Cue::DuskBell);
        } else if (c == kEvening) {
            cielo.set_back_color(azu3.back_color());
            speaker.play(Cue::DuskBell);
        } else if (c == kLateEvening) {
            cielo.set_back_color(azu3.back_color());
        } else if (c == kNight) {
            cielo.set_back_color(azu4.back_color());
            for (Shape* star : night_sky) star->set_visible(true);
            speaker.play(Cue::Stars);
        } else if (c == kTheEnd) {
            Timer3.set_enabled(false);
            lbl.set_visible(true);
            Timer4.set_enabled(false);
            speaker.play(Cue::ThankYou);
        }
    }
};

void bind(Scene& form5) {
    Closing& closing = form5.attach<Closing>(form5);
    closing.Timer1.on_tick = [&closing] { closing.tick_lamps(); };
    closing.Timer2.on_tick = [&closing] { closing.tick_car(); };
    closing.Timer3.on_tick = [&closing] { closing.tick_convoy(); };
    closing.Timer4.on_tick = [&closing] { closing.tick_sky(); };
}

} // namespace

SceneDef closing_scene() { return {closing_table(), bind}; }

} // namespace guardianes
