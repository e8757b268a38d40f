// SPDX-License-Identifier: GPL-3.0-or-later
// The race: a red, yellow, green start signal, then the rival drives up its
// lane on its own timer while each click on "Avanzar" moves the police car.
// Whichever car finishes first shows its "Winner" and stops the other side,
// so a race has exactly one winner and the draw text `play3` is never shown.

#include "scenes/race/race.h"
#include "runtime/scene.h"
#include "scenes/scenes.h"

#include <array>

namespace guardianes {

namespace {

constexpr Twips kPoliceStep = 160; // twips up per click
constexpr int kPoliceFinish = 52;  // the click that reaches the finish
constexpr Twips kRivalStep = 90;   // twips up per tick of the rival's timer
constexpr int kRivalFinish = 90;   // the tick that reaches the finish

constexpr int kRed = 3; // signal ticks at which each light comes on
constexpr int kYellow = 6;
constexpr int kGreen = 9;

struct Race {
    explicit Race(Scene& s)
        : ava(s.label("ava")), Timer1(s.timer("Timer1")), Timer2(s.timer("Timer2")),
          police_car(s.labels("poli", "centro", "ro", "azu", "ven1", "vent", "luz6", "luz5")),
          rival_car(s.shapes("porch", "luz1", "luz2", "luz3", "luz4", "capo1", "capo2", "capo3")),
          ven2(s.label("ven2")), se1(s.shape("se1")), se2(s.shape("se2")), se3(s.shape("se3")), luz4(s.shape("luz4")),
          lr(s.shape("lr")), porch(s.shape("porch")), la(s.shape("la")), lv(s.shape("lv")), play1(s.label("play1")),
          play2(s.label("play2")), pol(s.variant("pol")), por(s.variant("por")), cont(s.int16("cont")),
          speaker(s.speaker()) {}

    Label& ava;
    Timer& Timer1;
    Timer& Timer2;
    std::array<Label*, 8> police_car;
    // The rival is eight shapes and one label, its windscreen.
    std::array<Shape*, 8> rival_car;
    Label& ven2;
    Shape& se1;
    Shape& se2;
    Shape& se3;
    // The signal never computes a colour: it copies these controls' colours.
    Shape& luz4;
    Shape& lr;
    Shape& porch;
    Shape& la;
    Shape& lv;
    Label& play1;
    Label& play2;
    VariantCounter& pol;
    VariantCounter& por;
    Int16Counter& cont;
    Speaker speaker;

    void tick_signal() {
        cont += 1;
        if (cont == kRed) {
            se1.set_back_color(luz4.back_color());
            speaker.play(Cue::LightBeep);
        } else if (cont == kYellow) {
            se1.set_back_color(lr.back_color());
            se2.set_back_color(porch.back_color());
            speaker.play(Cue::LightBeep);
        } else if (cont == kGreen) {
            speaker.play(Cue::LightGo);
            se2.set_back_color(la.back_color());
            se3.set_back_color(lv.back_color());
            Timer1.set_enabled(true);
            ava.set_enabled(true);
            Timer2.set_enabled(false);
        }
    }

    void click_advance() {
        pol += 1;
        for (Label* part : police_car) part->set_top(part->top() - kPoliceStep);
        speaker.play(Cue::CarStep);
        if (pol == kPoliceFinish) {
            ava.set_enabled(false);
            Timer1.set_enabled(false);
            play1.set_visible(true);
            speaker.play(Cue::Cheer);
        }
    }

    void tick_rival() {
        por += 1;
        for (Shape* part : rival_car) part->set_top(part->top() - kRivalStep);
        ven2.set_top(ven2.top() - kRivalStep);
        if (por == kRivalFinish) {
            ava.set_enabled(false);
            Timer1.set_enabled(false);
            play2.set_visible(true);
            speaker.play(Cue::TooBad);
        }
    }
};

void bind(Scene& form2) {
    Race& race = form2.attach<Race>(form2);
    race.Timer2.on_tick = [&race] { race.tick_signal(); };
    race.ava.on_click = [&race] { race.click_advance(); };
    race.Timer1.on_tick = [&race] { race.tick_rival(); };
}

} // namespace

SceneDef race_scene() { return {race_table(), bind}; }

} // namespace guardianes
