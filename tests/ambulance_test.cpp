// SPDX-License-Identifier: GPL-3.0-or-later
// The patient scene in the full game, the ambulance card clicked at 0: the
// monitor and gaze cycle, the resuscitation and the three care animations.

#include "test_scenes.h"

#include <gtest/gtest.h>

using namespace guardianes;

namespace {

constexpr double kCreated = 1250; // the menu's 80th light tick
constexpr double kGaze = 250;     // Timer1: every 16th wake-up
constexpr double kStep = 156.25;  // Interval 150: every 10th wake-up

// How a control looks, in all a handler of the scene can change: where it
// stands, whether it shows and its colour; for a timer, whether it runs.
struct Look {
    Twips left = 0, top = 0;
    bool visible = false;
    Colour colour = rgb(0);
    bool enabled = false;
    friend bool operator==(const Look&, const Look&) = default;
};
using Picture = std::map<std::string, Look>;

Picture picture_of(const Scene& scene) {
    const auto look = [](const auto& f) { return Look{f.left(), f.top(), f.visible(), f.back_color()}; };
    Picture p;
    for (const auto& c : scene.controls()) {
        Look& l = p[c->name()];
        if (c->kind() == ControlKind::Label) l = look(static_cast<const Label&>(*c));
        if (c->kind() == ControlKind::Shape) l = look(static_cast<const Shape&>(*c));
        if (c->kind() == ControlKind::Line) l.visible = static_cast<const Line&>(*c).visible();
        if (c->kind() == ControlKind::Timer) l.enabled = static_cast<const Timer&>(*c).enabled();
    }
    return p;
}

// The controls that look different, but for the pupils and the trace, which
// Timer1 changes on its own schedule, unless `all`.
std::set<std::string> differences(const Picture& a, const Picture& b, bool all = true) {
    static const std::set<std::string> gaze = {"ojo1", "ojo2", "v1", "v2", "v3", "v4", "v5", "v6", "v7"};
    std::set<std::string> names;
    for (const auto& [name, look] : a)
        if (b.at(name) != look && (all || !gaze.contains(name))) names.insert(name);
    return names;
}

// "1" or "0" for each control named, in order.
std::string shows(const Picture& p, const std::vector<const char*>& names) {
    std::string visible;
    for (const char* name : names) visible += p.at(name).visible ? '1' : '0';
    return visible;
}

// The ticks at which anything but the gaze and the trace changed.
std::vector<int> steps(const std::vector<Picture>& pictures) {
    std::vector<int> at;
    for (std::size_t k = 1; k < pictures.size(); ++k)
        if (!differences(pictures[k - 1], pictures[k], false).empty()) at.push_back(static_cast<int>(k));
    return at;
}

class Ambulance : public ::testing::Test {
protected:
    void SetUp() override {
        sim.click("Form1", "portal3");
        wait_until(kCreated);
        ASSERT_NE(sim.scene("Form4"), nullptr);
    }

    double now_ms() const { return static_cast<double>(sim.now()) / kMillisecond; }
    void wait_until(double ms) { sim.wait_ms(ms - now_ms()); }
    Scene& form4() { return *sim.scene("Form4"); }

    // The device's own centre lies under the energy bar, so its click aims above the bar.
    void click(const std::string& name) {
        if (name == "Label11")
            sim.click("Form4", 76, 240);
        else
            sim.click("Form4", name);
    }

    // Runs `ticks` ticks of a 150 ms timer started now, on a wake-up, keeping the
    // picture after each (index 0: before the first). A click listed for a tick
    // comes 50 ms after it, where restarting a running timer would shift it.
    std::vector<Picture> run(int ticks, std::map<int, std::string> clicks = {}) {
        const double start = now_ms();
        std::vector<Picture> pictures{picture_of(form4())};
        for (int k = 1; k <= ticks; ++k) {
            wait_until(start + k * kStep);
            pictures.push_back(picture_of(form4()));
            if (clicks.contains(k)) {
                sim.wait_ms(50);
                click(clicks[k]);
            }
        }
        return pictures;
    }

    Simulation sim;
};

} // namespace

TEST_F(Ambulance, TheSwatchBehindTheDeviceTakesNoClickOfItsOwn) {
    const Pixel swatch = centre_pixel(form4().shape("ana"));
    EXPECT_EQ(sim.runtime().label_at(form4(), swatch.x, swatch.y), &form4().label("Label11"));
}

TEST_F(Ambulance, TheGazeAndTraceStepEveryThirdTickWithBothPupilsTogetherAndComeRoundInEighteen) {
    std::set<std::pair<Twips, Twips>> places;
    std::string trace; // the ticks that change anything, each with the pieces drawn then
    Picture before = picture_of(form4());
    for (int tick = 1; tick <= 36; ++tick) {
        wait_until(kCreated + tick * kGaze);
        const Picture now = picture_of(form4());
        if (!differences(before, now).empty())
            trace += std::to_string(tick) + ":" + shows(now, {"v1", "v2", "v3", "v4", "v5", "v6", "v7"}) + " ";
        EXPECT_EQ(now.at("ojo2").left - now.at("ojo1").left, 480) << "tick " << tick;
        EXPECT_EQ(now.at("ojo2").top, now.at("ojo1").top) << "tick " << tick;
        places.insert({now.at("ojo1").left, now.at("ojo1").top});
        before = now;
    }
    // The trace is whole when the scene opens; once wiped it is drawn again piece by piece.
    EXPECT_EQ(trace, "3:1111111 6:1111111 9:1111111 12:1111111 15:1111111 18:0000000 21:1000000 24:1110000 "
                     "27:1111000 30:1111110 33:1111111 36:0000000 ");
    EXPECT_EQ(places.size(), 5u); // up, middle, down, right, left
}

// A second click at count 7 changes nothing. Afterwards only the cables and
// pads differ from a patient left alone, and the hidden pupils went on from
// the middle to where Timer1 last put them.
TEST_F(Ambulance, ResuscitationStepsOnItsSevenCountsOnlyAndLeavesOnlyCablesAndPads) {
    Simulation calm;
    calm.click("Form1", "portal3");
    wait_until(kCreated + 2000);
    click("Label11");
    const auto p = run(50, {{7, "Label11"}});
    EXPECT_EQ(steps(p), (std::vector<int>{5, 10, 15, 20, 25, 30, 45}));
    EXPECT_EQ(shows(p[5], {"ala1", "ala2", "ala3", "ala4", "cam"}), "11110");
    for (int tick : {10, 15, 20, 25})
        EXPECT_EQ(shows(p[tick], {"bur1", "bur2", "bur3", "bur4", "rcp"}), tick % 10 ? "00000" : "11111") << tick;
    EXPECT_EQ(shows(p[30], {"ojo1", "ojo2", "ojo3", "ojo4", "v1", "v7", "ro", "e1", "e2", "e3", "e4"}), "00000011111");
    EXPECT_EQ(p[30].at("ojo1").top, 1560);
    EXPECT_EQ(p[45].at("ojo1").top, 1680);
    calm.wait(sim.now());
    EXPECT_EQ(differences(picture_of(*calm.scene("Form4")), p[50]),
              (std::set<std::string>{"ala1", "ala2", "ala3", "ala4"}));
}

// When two cares overlap, the first to end hides the bubbles the second
// still speaks with: the water's ending hides the vaccine's, and the
// food's those under the resuscitation's cry.
TEST_F(Ambulance, ACareEndingFirstHidesTheBubblesAnOverlappingOneStillSpeaksWith) {
    struct Overlap {
        const char* first;
        const char* second;
        std::vector<const char*> speech;
        std::vector<int> ticks;
    };
    for (const Overlap& o : {Overlap{"ag2", "va2", {"agua", "vacuna", "bur5", "bur8"}, {5, 8, 10, 13}},
                             Overlap{"Label11", "lbl", {"comida", "rcp", "bur1", "bur4"}, {8, 10, 13, 15}}}) {
        click(o.first);
        const auto p = run(o.ticks.back(), {{2, o.second}});
        std::string seen;
        for (int tick : o.ticks) seen += shows(p[tick], o.speech) + " ";
        EXPECT_EQ(seen, "1011 1111 0100 0000 ") << o.first;
    }
}
