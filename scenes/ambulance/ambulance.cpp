// SPDX-License-Identifier: GPL-3.0-or-later
// The patient's handlers: the monitor and gaze cycle that runs by itself, the
// resuscitation the device plays once per click, and the three care
// animations of the cup, the bottle and the syringe.

#include "scenes/ambulance/ambulance.h"
#include "runtime/scene.h"
#include "scenes/scenes.h"

#include <array>

namespace guardianes {

namespace {

template <class Parts> void set_visible(const Parts& parts, bool visible) {
    for (auto* part : parts) part->set_visible(visible);
}

// Timer1 draws the heartbeat trace segment by segment and, on the same ticks,
// moves the pupils up, to the middle, down, right, left and back to the centre.
struct Monitor {
    explicit Monitor(Scene& s)
        : ojo(s.variant("ojo")), ojo1(s.shape("ojo1")), ojo2(s.shape("ojo2")), v1(s.line("v1")), v2(s.line("v2")),
          v3(s.line("v3")), v4(s.line("v4")), v5(s.line("v5")), v6(s.line("v6")), v7(s.line("v7")) {}
    VariantCounter& ojo;
    Shape& ojo1;
    Shape& ojo2;
    Line& v1;
    Line& v2;
    Line& v3;
    Line& v4;
    Line& v5;
    Line& v6;
    Line& v7;

    void tick_monitor() {
        ojo += 1;
        if (ojo == 3) {
            ojo1.set_top(1440);
            ojo2.set_top(1440);
            v1.set_visible(true);
        } else if (ojo == 6) {
            ojo1.set_top(1560);
            ojo2.set_top(1560);
            v2.set_visible(true);
            v3.set_visible(true);
        } else if (ojo == 9) {
            ojo1.set_top(1680);
            ojo2.set_top(1680);
            v4.set_visible(true);
        } else if (ojo == 12) {
            ojo1.set_left(3720);
            ojo2.set_left(4200);
            v5.set_visible(true);
            v6.set_visible(true);
        } else if (ojo == 15) {
            ojo1.set_left(3480);
            ojo2.set_left(3960);
            v7.set_visible(true);
        } else if (ojo == 18) {
            ojo1.set_left(3600);
            ojo2.set_left(4080);
            set_visible(std::array{&v1, &v2, &v3, &v4, &v5, &v6, &v7}, false);
            ojo = 0;
        }
    }
};

// Timer5 applies the device, flashes the patient twice in the colour of the
// energy bar, crosses out the eyes over a flat line, then revives the patient.
// The colours are read from Label13 and ana at every step, never kept.
struct Resuscitation {
    explicit Resuscitation(Scene& s)
        : Timer5(s.timer("Timer5")), shock(s.int16("shock")), Label13(s.label("Label13")), ana(s.shape("ana")),
          cam(s.label("cam")), rcp(s.label("rcp")), ro(s.line("ro")), cables(s.lines("ala1", "ala2")),
          pads(s.labels("ala3", "ala4")), fur(s.shapes("oso1", "oso2", "oso3", "oso4", "oso5", "oso6", "oso7", "oso8")),
          bubbles(s.shapes("bur1", "bur2", "bur3", "bur4")), eyes(s.shapes("ojo1", "ojo2", "ojo3", "ojo4")),
          trace(s.lines("v1", "v2", "v3", "v4", "v5", "v6", "v7")), crosses(s.lines("e1", "e2", "e3", "e4")) {}
    Timer& Timer5;
    Int16Counter& shock;
    Label& Label13;
    Shape& ana;
    Label& cam;
    Label& rcp;
    Line& ro;
    std::array<Line*, 2> cables;
    std::array<Label*, 2> pads;
    std::array<Shape*, 8> fur;
    std::array<Shape*, 4> bubbles;
    std::array<Shape*, 4> eyes;
    std::array<Line*, 7> trace;
    std::array<Line*, 4> crosses;

    void tick_resuscitation() {
        shock += 1;
        if (shock == 5) {
            apply_device();
        } else if (shock == 10) {
            flash();
        } else if (shock == 15) {
            settle();
        } else if (shock == 20) {
            flash();
        } else if (shock == 25) {
            settle();
        } else if (shock == 30) {
            cross_out_eyes();
        } else if (shock == 45) {
            revive();
        }
    }

    void apply_device() {
        set_visible(cables, true);
        set_visible(pads, true);
        cam.set_visible(false);
    }

    void flash() {
        for (Shape* part : fur) part->set_back_color(Label13.back_color());
        set_visible(bubbles, true);
        rcp.set_visible(true);
    }

    void settle() {
        for (Shape* part : fur) part->set_back_color(ana.back_color());
        set_visible(bubbles, false);
        rcp.set_visible(false);
    }

    void cross_out_eyes() {
        set_visible(eyes, false);
        set_visible(trace, false);
        ro.set_visible(true);
        set_visible(crosses, true);
    }

    // The cables and pads stay where they are: nothing takes them off again.
    void revive() {
        set_visible(eyes, true);
        cam.set_visible(true);
        set_visible(crosses, false);
        ro.set_visible(false);
        shock = 0;
        Timer5.set_enabled(false);
    }
};

// Each prop jumps next to the patient on the fifth tick of its timer, with
// its speech and a bubble trail, and back on the tenth, where its timer stops.
struct Care {
    explicit Care(Scene& s)
        : Timer4(s.timer("Timer4")), tas(s.variant("tas")), lbl(s.label("lbl")), tasa(s.shape("tasa")),
          comida(s.label("comida")), left_trail(s.shapes("bur1", "bur2", "bur3", "bur4")), Timer3(s.timer("Timer3")),
          agua2(s.variant("agua2")), ag1(s.label("ag1")), ag2(s.label("ag2")), agua(s.label("agua")),
          Timer2(s.timer("Timer2")), vacun(s.variant("vacun")), va1(s.label("va1")), va2(s.label("va2")),
          va3(s.label("va3")), va4(s.label("va4")), vacuna(s.label("vacuna")),
          right_trail(s.shapes("bur5", "bur6", "bur7", "bur8")) {}
    Timer& Timer4;
    VariantCounter& tas;
    Label& lbl;
    Shape& tasa;
    Label& comida;
    std::array<Shape*, 4> left_trail;
    Timer& Timer3;
    VariantCounter& agua2;
    Label& ag1;
    Label& ag2;
    Label& agua;
    Timer& Timer2;
    VariantCounter& vacun;
    Label& va1;
    Label& va2;
    Label& va3;
    Label& va4;
    Label& vacuna;
    // Water and vaccine share this trail: the first of them to end hides it.
    std::array<Shape*, 4> right_trail;

    void tick_food() {
        tas += 1;
        if (tas == 5) {
            lbl.set_left(2040);
            tasa.set_left(2040);
            comida.set_visible(true);
            set_visible(left_trail, true);
        } else if (tas == 10) {
            lbl.set_left(480);
            tasa.set_left(480);
            comida.set_visible(false);
            set_visible(left_trail, false);
            tas = 0;
            Timer4.set_enabled(false);
        }
    }

    void tick_water() {
        agua2 += 1;
        if (agua2 == 5) {
            ag1.set_left(5040);
            ag2.set_left(5040);
            agua.set_visible(true);
            set_visible(right_trail, true);
        } else if (agua2 == 10) {
            ag1.set_left(6720);
            ag2.set_left(6720);
            agua.set_visible(false);
            set_visible(right_trail, false);
            agua2 = 0;
            Timer3.set_enabled(false);
        }
    }

    void tick_vaccine() {
        vacun += 1;
        if (vacun == 5) {
            va1.set_left(6000);
            va2.set_left(5160);
            va4.set_left(4800);
            va3.set_left(5760);
            vacuna.set_visible(true);
            set_visible(right_trail, true);
        } else if (vacun == 10) {
            va1.set_left(7080);
            va2.set_left(6240);
            va4.set_left(5880);
            va3.set_left(6840);
            vacuna.set_visible(false);
            set_visible(right_trail, false);
            vacun = 0;
            Timer2.set_enabled(false);
        }
    }
};

// A click only starts its animation's timer; a click while the animation
// runs finds the timer already going and changes nothing.
void bind(Scene& form4) {
    Monitor& monitor = form4.attach<Monitor>(form4);
    form4.timer("Timer1").on_tick = [&monitor] { monitor.tick_monitor(); };

    Resuscitation& resuscitation = form4.attach<Resuscitation>(form4);
    form4.label("Label11").on_click = [&resuscitation] { resuscitation.Timer5.set_enabled(true); };
    resuscitation.Timer5.on_tick = [&resuscitation] { resuscitation.tick_resuscitation(); };

    Care& care = form4.attach<Care>(form4);
    care.lbl.on_click = [&care] { care.Timer4.set_enabled(true); };
    care.Timer4.on_tick = [&care] { care.tick_food(); };
    care.ag2.on_click = [&care] { care.Timer3.set_enabled(true); };
    care.Timer3.on_tick = [&care] { care.tick_water(); };
    care.va2.on_click = [&care] { care.Timer2.set_enabled(true); };
    care.Timer2.on_tick = [&care] { care.tick_vaccine(); };
}

} // namespace

SceneDef ambulance_scene() { return {ambulance_table(), bind}; }

} // namespace guardianes
