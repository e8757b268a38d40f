// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a service: the chosen vehicle drives out of its station with its
// warning lights flashing, and the menu then gives way to the service's scene.

#include "scenes/menu/menu.h"
#include "runtime/scene.h"
#include "scenes/scenes.h"

#include <vector>

namespace guardianes {

namespace {

constexpr Twips kStep = 100; // twips down per movement tick
constexpr int kParked = 45;  // the movement tick that parks the vehicle

// The light ticks that show the hourglass and that hide the menu.
constexpr int kHourglass = 45;
constexpr int kSwitch = 80;

// The steps of the lights' cycle at which they take their first and their
// second colours. The step of the second colours is also the next cycle's
// first, so after the first cycle the colours change 2 and 3 ticks apart.
constexpr int kFirstColours = 3;
constexpr int kSecondColours = 6;
constexpr int kCycleStart = 1;

// The lights copy their colours from these labels.
struct Flash {
    Label* first;
    Label* second;
};

// One service's card, vehicle and timers.
struct Departure {
    Scene& menu;
    Label& button;
    std::array<Label*, 3> others;
    Timer& mover;
    Timer& lights;
    std::vector<Label*> parts;
    Shape* box; // the green engine's equipment box moves last; others have none
    Label& first_light;
    Label& second_light;
    Flash first_colours;
    Flash second_colours;
    VariantCounter& luz;
    VariantCounter& car;
    Int16Counter& tiem;
    SceneLink own_window;
    SceneLink service;
    Speaker speaker;
    Cue siren;

    void click_portal() {
        // The siren sounds from the first click until the menu gives way.
        if (!lights.enabled()) speaker.play(siren);
        // A vehicle that has parked stays parked; it never drives off again.
        if (!(car == kParked)) mover.set_enabled(true);
        lights.set_enabled(true);
        for (Label* other : others) other->set_enabled(false);
    }

    void tick_drive() {
        car += 1;
        for (Label* part : parts) part->set_top(part->top() + kStep);
        if (box) box->set_top(box->top() + kStep);
        if (car == kParked) mover.set_enabled(false);
    }

    void tick_lights() {
        luz += 1;
        tiem += 1;
        if (luz == kFirstColours) {
            first_light.set_back_color(first_colours.first->back_color());
            second_light.set_back_color(first_colours.second->back_color());
        } else if (luz == kSecondColours) {
            first_light.set_back_color(second_colours.first->back_color());
            second_light.set_back_color(second_colours.second->back_color());
            luz = kCycleStart;
        }
        if (tiem == kHourglass) {
            menu.set_mouse_pointer(MousePointer::Hourglass);
        } else if (tiem == kSwitch) {
            own_window.hide();
            service.show();
            lights.set_enabled(false);
        }
    }
};

struct Service {
    const char* button;
    std::array<const char*, 3> others;
    const char* mover;
    const char* lights;
    std::vector<const char*> parts;
    const char* box;
    const char* first_light;
    const char* second_light;
    std::array<const char*, 2> first_colours;
    std::array<const char*, 2> second_colours;
    int number;
    const char* scene;
    Cue siren;
};

const Service kServices[] = {
    {.button = "portal1",
     .others = {"portal2", "portal3", "portal4"},
     .mover = "Timer1",
     .lights = "Timer2",
     .parts = {"lcop", "ci", "cd", "v1", "para1", "cen1", "bom1", "lc1", "lc2"},
     .box = nullptr,
     .first_light = "ci",
     .second_light = "cd",
     .first_colours = {"portal5", "portal4"},
     .second_colours = {"portal1", "portal8"},
     .number = 1,
     .scene = "Form2",
     .siren = Cue::PoliceSiren},
    {.button = "portal2",
     .others = {"portal1", "portal3", "portal4"},
     .mover = "Timer3",
     .lights = "Timer4",
     .parts = {"lbm", "mi", "md", "para2", "cen2", "bom2", "lm1", "lm2"},
     .box = "lin1",
     .first_light = "mi",
     .second_light = "md",
     .first_colours = {"portal7", "portal8"},
     .second_colours = {"portal8", "portal7"},
     .number = 2,
     .scene = "Form3",
     .siren = Cue::FireSiren},
    {.button = "portal3",
     .others = {"portal1", "portal2", "portal4"},
     .mover = "Timer5",
     .lights = "Timer6",
     .parts = {"lam", "ai", "ad", "para3", "cen3", "bom3", "la1", "la2", "cru1", "cru2"},
     .box = nullptr,
     .first_light = "ai",
     .second_light = "ad",
     .first_colours = {"portal8", "portal8"},
     .second_colours = {"portal4", "portal4"},
     .number = 3,
     .scene = "Form4",
     .siren = Cue::AmbulanceSiren},
    {.button = "portal4",
     .others = {"portal1", "portal2", "portal3"},
     .mover = "Timer7",
     .lights = "Timer8",
     .parts = {"lbv", "vi", "vd", "para4", "cen4", "bom4", "lv1", "lv2"},
     .box = nullptr,
     .first_light = "vi",
     .second_light = "vd",
     .first_colours = {"portal7", "ama1"},
     .second_colours = {"ama1", "portal7"},
     .number = 4,
     .scene = "Form5",
     .siren = Cue::ForestHorn},
};

void bind(Scene& form1) {
    for (const Service& s : kServices) {
        std::vector<Label*> parts;
        for (const char* name : s.parts) parts.push_back(&form1.label(name));
        const std::string n = std::to_string(s.number);
        Departure& d =
            form1.attach<Departure>(Departure{form1,
                                              form1.label(s.button),
                                              form1.labels(s.others[0], s.others[1], s.others[2]),
                                              form1.timer(s.mover),
                                              form1.timer(s.lights),
                                              std::move(parts),
                                              s.box ? &form1.shape(s.box) : nullptr,
                                              form1.label(s.first_light),
                                              form1.label(s.second_light),
                                              {&form1.label(s.first_colours[0]), &form1.label(s.first_colours[1])},
                                              {&form1.label(s.second_colours[0]), &form1.label(s.second_colours[1])},
                                              form1.variant("luz" + n),
                                              form1.variant("car" + n),
                                              form1.int16("tiem" + n),
                                              form1.link(form1.name()),
                                              form1.link(s.scene),
                                              form1.speaker(),
                                              s.siren});
        d.button.on_click = [&d] { d.click_portal(); };
        d.mover.on_tick = [&d] { d.tick_drive(); };
        d.lights.on_tick = [&d] { d.tick_lights(); };
    }
}

} // namespace

SceneDef menu_scene() { return {menu_table(), bind}; }

} // namespace guardianes
