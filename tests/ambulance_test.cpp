// The patient scene in the full game, the ambulance card clicked at 0: the
// monitor and gaze cycle, the resuscitation and the three care animations.

#include "runtime/scene.h"
#include "sim/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace guardianes;

namespace {

constexpr double kCreated = 1250; // the menu's 80th light tick
constexpr double kGaze = 250;     // Timer1: every 16th wake-up
constexpr double kStep = 156.25;  // Interval 150: every 10th wake-up
constexpr double kWake = 15.625;

// Every property a handler of the scene can change, as "name.property".
using Picture = std::map<std::string, std::string>;

template <class Figure> void place(Picture& p, const std::string& name, const Figure& f) {
    p[name + ".left"] = std::to_string(f.left());
    p[name + ".top"] = std::to_string(f.top());
    p[name + ".visible"] = std::to_string(f.visible());
    p[name + ".colour"] = to_string(f.back_color());
}

Picture picture_of(const Scene& scene) {
    Picture p;
    for (const auto& c : scene.controls()) {
        if (const auto* label = dynamic_cast<const Label*>(c.get())) place(p, c->name(), *label);
        if (const auto* shape = dynamic_cast<const Shape*>(c.get())) place(p, c->name(), *shape);
        if (const auto* line = dynamic_cast<const Line*>(c.get()))
            p[c->name() + ".visible"] = std::to_string(line->visible());
        if (const auto* timer = dynamic_cast<const Timer*>(c.get()))
            p[c->name() + ".enabled"] = std::to_string(timer->enabled());
    }
    return p;
}

std::set<std::string> differences(const Picture& a, const Picture& b) {
    std::set<std::string> keys;
    for (const auto& [key, value] : a)
        if (b.at(key) != value) keys.insert(key);
    return keys;
}

// "1" or "0" for each control named, in order.
std::string shows(const Picture& p, const std::vector<const char*>& names) {
    std::string visible;
    for (const char* name : names) visible += p.at(std::string(name) + ".visible");
    return visible;
}

// What Timer1 changes on its own schedule, left out when another script is watched.
bool gaze_or_trace(const std::string& key) {
    static const std::set<std::string> keys = {"ojo1.left",  "ojo1.top",   "ojo2.left",  "ojo2.top",
                                               "v1.visible", "v2.visible", "v3.visible", "v4.visible",
                                               "v5.visible", "v6.visible", "v7.visible"};
    return keys.contains(key);
}

// The ticks at which anything but the gaze and the trace changed.
std::vector<int> steps(const std::vector<Picture>& pictures) {
    std::vector<int> at;
    for (std::size_t k = 1; k < pictures.size(); ++k) {
        const auto changed = differences(pictures[k - 1], pictures[k]);
        if (std::any_of(changed.begin(), changed.end(), [](const std::string& key) { return !gaze_or_trace(key); }))
            at.push_back(static_cast<int>(k));
    }
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
    std::set<std::pair<std::string, std::string>> places;
    Picture before = picture_of(form4());
    for (int tick = 1; tick <= 36; ++tick) {
        wait_until(kCreated + tick * kGaze);
        const Picture now = picture_of(form4());
        EXPECT_EQ(differences(before, now).empty(), tick % 3 != 0) << "tick " << tick;
        EXPECT_EQ(std::stoi(now.at("ojo2.left")) - std::stoi(now.at("ojo1.left")), 480) << "tick " << tick;
        EXPECT_EQ(now.at("ojo2.top"), now.at("ojo1.top")) << "tick " << tick;
        places.insert({now.at("ojo1.left"), now.at("ojo1.top")});
        // The trace draws itself piece by piece, all of it by the fifteenth
        // tick, and is wiped at the eighteenth.
        const std::string trace = shows(now, {"v1", "v2", "v3", "v4", "v5", "v6", "v7"});
        const std::string was = shows(before, {"v1", "v2", "v3", "v4", "v5", "v6", "v7"});
        for (std::size_t i = 0; i < trace.size() && tick % 18 != 0; ++i)
            EXPECT_TRUE(was[i] == '0' || trace[i] == '1') << "tick " << tick;
        if (tick % 18 == 15 || tick % 18 == 0) {
            EXPECT_EQ(trace, tick % 18 ? "1111111" : "0000000") << "tick " << tick;
        }
        before = now;
    }
    EXPECT_EQ(places.size(), 5u); // up, middle, down, right, left
}

TEST_F(Ambulance, TheMonitorAndTheSyringeKeepTheirTimelineFromTheCardClick) {
    const auto at = [this](double ms, const char* key) {
        wait_until(ms);
        return picture_of(form4()).at(key);
    };
    EXPECT_EQ(at(1300, "ojo1.top"), "1560");
    click("va2");
    EXPECT_EQ(at(2000 - kWake, "ojo1.top"), "1560");
    EXPECT_EQ(at(2000, "ojo1.top"), "1440");
    EXPECT_EQ(at(2078.125 - kWake, "va2.left"), "6240");
    EXPECT_EQ(at(2078.125, "va2.left"), "5160");
    EXPECT_EQ(at(2859.375 - kWake, "va2.left"), "5160");
    EXPECT_EQ(at(2859.375, "va2.left"), "6240");
    EXPECT_EQ(at(5750 - kWake, "v1.visible"), "1");
    EXPECT_EQ(at(5750, "v1.visible"), "0");
}

TEST_F(Ambulance, ResuscitationStepsOnItsSevenCountsOnlyAndASecondClickChangesNothing) {
    wait_until(kCreated + 2000);
    click("Label11");
    const auto p = run(50, {{7, "Label11"}});
    EXPECT_EQ(steps(p), (std::vector<int>{5, 10, 15, 20, 25, 30, 45}));
    EXPECT_EQ(shows(p[5], {"ala1", "ala2", "ala3", "ala4", "cam"}), "11110");
    for (int tick : {10, 15, 20, 25}) {
        const bool flash = tick % 10 == 0;
        for (const char* fur : {"oso1", "oso2", "oso3", "oso4", "oso5", "oso6", "oso7", "oso8"})
            EXPECT_EQ(p[tick].at(std::string(fur) + ".colour"), flash ? "#FFFF00" : "#FF8000") << tick;
        EXPECT_EQ(p[tick].at("Shape2.colour"), "#C00000");
        EXPECT_EQ(shows(p[tick], {"bur1", "bur2", "bur3", "bur4", "rcp"}), flash ? "11111" : "00000") << tick;
    }
    EXPECT_EQ(shows(p[30], {"ojo1", "ojo2", "ojo3", "ojo4", "v1", "v7", "ro", "e1", "e2", "e3", "e4"}), "00000011111");
    EXPECT_EQ(p[45].at("Timer5.enabled"), "0");
}

TEST_F(Ambulance, AfterResuscitationOnlyCablesAndPadsRemainAndTheEyesFollowTheGaze) {
    Simulation calm;
    calm.click("Form1", "portal3");
    wait_until(kCreated + 2000);
    click("Label11");
    const auto p = run(45);
    calm.wait(sim.now());
    // The hidden pupils went on from the middle to where Timer1 last put them.
    EXPECT_EQ(p[30].at("ojo1.top"), "1560");
    EXPECT_EQ(p[45].at("ojo1.top"), "1680");
    EXPECT_EQ(differences(picture_of(*calm.scene("Form4")), p[45]),
              (std::set<std::string>{"ala1.visible", "ala2.visible", "ala3.visible", "ala4.visible"}));
}

TEST_F(Ambulance, EachPropGoesOutOnCountFiveAndBackToItsPlaceOnCountTenWhateverMoreClicksCome) {
    struct Prop {
        const char* target;
        std::map<std::string, Twips> away; // Left of each moved control at count 5
        std::vector<const char*> speech;   // caption and bubbles
    };
    const Prop props[] = {
        {"ag2", {{"ag1", 5040}, {"ag2", 5040}}, {"agua", "bur5", "bur6", "bur7", "bur8"}},
        {"lbl", {{"lbl", 2040}, {"tasa", 2040}}, {"comida", "bur1", "bur2", "bur3", "bur4"}},
        {"va2",
         {{"va1", 6000}, {"va2", 5160}, {"va4", 4800}, {"va3", 5760}},
         {"vacuna", "bur5", "bur6", "bur7", "bur8"}},
    };
    for (const Prop& prop : props) {
        const Picture rest = picture_of(form4());
        click(prop.target);
        // One more click while the prop is at rest and one while it is away.
        const auto p = run(14, {{3, prop.target}, {7, prop.target}});
        EXPECT_EQ(steps(p), (std::vector<int>{5, 10})) << prop.target;
        for (const auto& [name, away] : prop.away) EXPECT_EQ(p[9].at(name + ".left"), std::to_string(away));
        EXPECT_EQ(shows(p[9], prop.speech), "11111") << prop.target;
        for (const std::string& key : differences(rest, p[14])) EXPECT_TRUE(gaze_or_trace(key)) << key;
    }
}

TEST_F(Ambulance, WaterEndingFirstHidesTheBubblesTheVaccineStillSpeaksWith) {
    click("ag2");
    const auto p = run(13, {{2, "va2"}});
    EXPECT_EQ(shows(p[5], {"agua", "vacuna", "bur5", "bur8"}), "1011");
    EXPECT_EQ(shows(p[8], {"agua", "vacuna", "bur5", "bur8"}), "1111");
    EXPECT_EQ(shows(p[10], {"agua", "vacuna", "bur5", "bur8"}), "0100");
    EXPECT_EQ(shows(p[13], {"agua", "vacuna", "bur5", "bur8"}), "0000");
}

TEST_F(Ambulance, FoodEndingDuringAFlashHidesTheBubblesUnderTheResuscitationCry) {
    click("Label11");
    const auto p = run(15, {{2, "lbl"}});
    EXPECT_EQ(shows(p[8], {"comida", "rcp", "bur1", "bur4"}), "1011");
    EXPECT_EQ(shows(p[10], {"comida", "rcp", "bur1", "bur4"}), "1111");
    EXPECT_EQ(shows(p[13], {"comida", "rcp", "bur1", "bur4"}), "0100");
    EXPECT_EQ(shows(p[15], {"comida", "rcp", "bur1", "bur4"}), "0000");
}
