// SPDX-License-Identifier: GPL-3.0-or-later
// The patient's handlers: the monitor and gaze cycle that runs by itself, the
// resuscitation the device plays once per click, and the three care
// animations of the cup, the bottle and the syringe.

#include "scenes/ambulance/ambulance.h"
#include "runtime/scene.h"
#include "scenes/scenes.h"

#include <array>
#include <variant>
#include <vector>

namespace guardianes {

namespace {

template <class Parts> void set_visible(const Parts& parts, bool visible) {
    for (auto* part : parts) part->set_visible(visible);
}

// Timer1's ticks at which the pupils move up, to the middle, down, right,
// left and back to the centre, where the cycle comes round.
constexpr int kGazeUp = 3;
constexpr int kGazeMiddle = 6;
constexpr int kGazeDown = 9;
constexpr int kGazeRight = 12;
constexpr int kGazeLeft = 15;
constexpr int kGazeCentre = 18;

// The pupils' tops as they look up, to the middle and down, the left pupil's
// lefts as they look right, left and to the centre, and how far the right
// pupil stands from it.
constexpr Twips kRowUp = 1440;
constexpr Twips kRowMiddle = 1560;
constexpr Twips kRowDown = 1680;
constexpr Twips kColumnRight = 3720;
constexpr Twips kColumnLeft = 3480;
constexpr Twips kColumnCentre = 3600;
constexpr Twips kPupilsApart = 480;

// Timer1 draws the heartbeat trace segment by segment and, on the same ticks,
// moves the pupils.
struct Monitor {
    explicit Monitor(Scene& s)
        : ojo(s.variant("ojo")), ojo1(s.shape("ojo1")), ojo2(s.shape("ojo2")), v1(s.line("v1")), v2(s.line("v2")),
          v3(s.line("v3")), v4(s.line("v4")), v5(s.line("v5")), v6(s.line("v6")), v7(s.line("v7")), ro(s.line("ro")),
          speaker(s.speaker()) {}
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
    // The flat line, shown while the heart has stopped.
    Line& ro;
    Speaker speaker;

    // The trace draws a peak: the monitor beeps, unless the line is flat.
    void beat() {
        if (!ro.visible()) speaker.play(Cue::Heartbeat);
    }

    void tick_monitor() {
        ojo += 1;
        if (ojo == kGazeUp) {
            ojo1.set_top(kRowUp);
            ojo2.set_top(kRowUp);
            v1.set_visible(true);
        } else if (ojo == kGazeMiddle) {
            ojo1.set_top(kRowMiddle);
            ojo2.set_top(kRowMiddle);
            v2.set_visible(true);
            v3.set_visible(true);
            beat();
        } else if (ojo == kGazeDown) {
            ojo1.set_top(kRowDown);
            ojo2.set_top(kRowDown);
            v4.set_visible(true);
        } else if (ojo == kGazeRight) {
            ojo1.set_left(kColumnRight);
            ojo2.set_left(kColumnRight + kPupilsApart);
            v5.set_visible(true);
            v6.set_visible(true);
            beat();
        } else if (ojo == kGazeLeft) {
            ojo1.set_left(kColumnLeft);
            ojo2.set_left(kColumnLeft + kPupilsApart);
            v7.set_visible(true);
        } else if (ojo == kGazeCentre) {
            ojo1.set_left(kColumnCentre);
            ojo2.set_left(kColumnCentre + kPupilsApart);
            set_visible(std::array{&v1, &v2, &v3, &v4, &v5, &v6, &v7}, false);
            ojo = 0;
        }
    }
};

// Timer5's ticks at which the device goes on, each of its two shocks starts
// and ends, the line goes flat and the patient revives.
constexpr int kDeviceOn = 5;
constexpr int kFirstShock = 10;
constexpr int kFirstShockOver = 15;
constexpr int kSecondShock = 20;
constexpr int kSecondShockOver = 25;
constexpr int kFlatLine = 30;
constexpr int kRevived = 45;

// Timer5 applies the device, flashes the patient twice in the colour of the
// energy bar, crosses out the eyes over a flat line, then revives the patient.
// The colours are read from Label13 and ana at every step, never kept.
struct Resuscitation {
    explicit Resuscitation(Scene& s)
        : Timer5(s.timer("Timer5")), shock(s.int16("shock")), Label13(s.label("Label13")), ana(s.shape("ana")),
          cam(s.label("cam")), rcp(s.label("rcp")), ro(s.line("ro")), cables(s.lines("ala1", "ala2")),
          pads(s.labels("ala3", "ala4")), fur(s.shapes("oso1", "oso2", "oso3", "oso4", "oso5", "oso6", "oso7", "oso8")),
          bubbles(s.shapes("bur1", "bur2", "bur3", "bur4")), eyes(s.shapes("ojo1", "ojo2", "ojo3", "ojo4")),
          trace(s.lines("v1", "v2", "v3", "v4", "v5", "v6", "v7")), crosses(s.lines("e1", "e2", "e3", "e4")),
          speaker(s.speaker()) {}
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
    Speaker speaker;

    // The device charges as it goes on and again between the shocks.
    void tick_resuscitation() {
        shock += 1;
        if (shock == kDeviceOn) {
            apply_device();
            speaker.play(Cue::Charge);
        } else if (shock == kFirstShock) {
            flash();
        } else if (shock == kFirstShockOver) {
            settle();
            speaker.play(Cue::Charge);
        } else if (shock == kSecondShock) {
            flash();
        } else if (shock == kSecondShockOver) {
            settle();
        } else if (shock == kFlatLine) {
            cross_out_eyes();
        } else if (shock == kRevived) {
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
        speaker.play(Cue::Shock);
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
        speaker.play(Cue::Revived);
    }
};

// A care's timer ticks at which its prop stands beside the patient, and at
// which it is home again and the timer stops.
constexpr int kBesideThePatient = 5;
constexpr int kHomeAgain = 10;

// A prop is made of labels and shapes; each piece has its own two places.
struct PieceRow {
    const char* name;
    Twips home; // where the table puts it
    Twips beside_the_patient;
};

struct CareRow {
    const char* button;
    const char* timer;
    const char* count;
    std::vector<PieceRow> prop; // in the order the pieces move
    const char* speech;
    std::array<const char*, 4> trail;
    Cue arrives; // heard as the prop reaches the patient
};

// Water and vaccine share their trail: the first of them to end hides it.
const CareRow kCares[] = {
    {.button = "lbl",
     .timer = "Timer4",
     .count = "tas",
     .prop = {{"lbl", 480, 2040}, {"tasa", 480, 2040}},
     .speech = "comida",
     .trail = {"bur1", "bur2", "bur3", "bur4"},
     .arrives = Cue::Food},
    {.button = "ag2",
     .timer = "Timer3",
     .count = "agua2",
     .prop = {{"ag1", 6720, 5040}, {"ag2", 6720, 5040}},
     .speech = "agua",
     .trail = {"bur5", "bur6", "bur7", "bur8"},
     .arrives = Cue::Drink},
    {.button = "va2",
     .timer = "Timer2",
     .count = "vacun",
     .prop = {{"va1", 7080, 6000}, {"va2", 6240, 5160}, {"va4", 5880, 4800}, {"va3", 6840, 5760}},
     .speech = "vacuna",
     .trail = {"bur5", "bur6", "bur7", "bur8"},
     .arrives = Cue::Vaccine},
};

struct Piece {
    std::variant<Label*, Shape*> control;
    Twips home;
    Twips beside_the_patient;

    void move_to(Twips left) const {
        std::visit([left](auto* c) { c->set_left(left); }, control);
    }
};

Piece piece(const Scene& s, const PieceRow& row) {
    const Control* control = s.find(row.name);
    if (control && control->kind() == ControlKind::Shape) return {&s.shape(row.name), row.home, row.beside_the_patient};
    return {&s.label(row.name), row.home, row.beside_the_patient};
}

// Each prop jumps beside the patient, with its speech and a bubble trail,
// and back home, where its timer stops.
struct Care {
    Care(Scene& s, const CareRow& row)
        : timer(s.timer(row.timer)), count(s.variant(row.count)), speech(s.label(row.speech)),
          trail(s.shapes(row.trail[0], row.trail[1], row.trail[2], row.trail[3])), arrives(row.arrives),
          speaker(s.speaker()) {
        for (const PieceRow& p : row.prop) prop.push_back(piece(s, p));
    }
    Timer& timer;
    VariantCounter& count;
    std::vector<Piece> prop;
    Label& speech;
    std::array<Shape*, 4> trail;
    Cue arrives;
    Speaker speaker;

    void tick() {
        count += 1;
        if (count == kBesideThePatient) {
            for (const Piece& p : prop) p.move_to(p.beside_the_patient);
            speech.set_visible(true);
            set_visible(trail, true);
            speaker.play(arrives);
        } else if (count == kHomeAgain) {
            for (const Piece& p : prop) p.move_to(p.home);
            speech.set_visible(false);
            set_visible(trail, false);
            count = 0;
            timer.set_enabled(false);
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

    for (const CareRow& row : kCares) {
        Care& care = form4.attach<Care>(form4, row);
        form4.label(row.button).on_click = [&care] { care.timer.set_enabled(true); };
        care.timer.on_tick = [&care] { care.tick(); };
    }
}

} // namespace

SceneDef ambulance_scene() { return {ambulance_table(), bind}; }

} // namespace guardianes
