// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/game_rules.h"

#include "runtime/still_scene.h"

#include <map>
#include <string_view>
#include <variant>

namespace guardianes {

namespace {

using Broken = std::optional<std::string>;

bool shown(const Control& c) {
    if (c.kind() == ControlKind::Label) return static_cast<const Label&>(c).visible();
    if (c.kind() == ControlKind::Shape) return static_cast<const Shape&>(c).visible();
    return static_cast<const Line&>(c).visible();
}

std::pair<Twips, Twips> place(const Control& c) {
    if (c.kind() == ControlKind::Shape)
        return {static_cast<const Shape&>(c).left(), static_cast<const Shape&>(c).top()};
    return {static_cast<const Label&>(c).left(), static_cast<const Label&>(c).top()};
}

} // namespace

// One scene's rules, checked against its state now and the state its table
// gives it at creation, each control and counter looked up by name once.
struct GameRules::SceneRules {
    explicit SceneRules(const Scene& s) : scene(s), start(s.table()) {}

    Broken check() const {
        const std::string name = scene.name();
        if (name == "Form1") return menu();
        if (name == "Form2") return race();
        if (name == "Form3") return fire();
        if (name == "Form4") return ambulance();
        return closing();
    }

    const Control& at(std::string_view name) const {
        auto it = controls.find(name);
        if (it == controls.end())
            it = controls.emplace(std::string(name), std::pair{scene.find(name), start.scene().find(name)}).first;
        return *it->second.first;
    }
    std::int64_t n(std::string_view name) const {
        auto it = counters.find(name);
        if (it == counters.end()) {
            for (const Counter& c : scene.counters())
                if (std::visit([&](const auto& k) { return k.name() == name; }, c))
                    it = counters.emplace(std::string(name), &c).first;
        }
        return std::visit([](const auto& k) { return std::int64_t{k.value()}; }, *it->second);
    }
    bool shown(std::string_view name) const { return guardianes::shown(at(name)); }
    // How far the control has moved since the scene was made.
    std::pair<Twips, Twips> moved(std::string_view name) const {
        const auto [left, top] = place(at(name));
        const auto [left0, top0] = place(*controls.find(name)->second.second);
        return {left - left0, top - top0};
    }
    Broken fail(const std::string& what) const { return scene.name() + ": " + what; }

    // One departure at a time, its vehicle 100 twips lower per step, the
    // other buttons dead meanwhile, the hourglass from the 45th light tick.
    Broken menu() const {
        int departed = 0;
        bool hourglass = false;
        for (int k = 1; k <= 4; ++k) {
            const std::string i = std::to_string(k);
            const char* body[] = {"lcop", "lbm", "lam", "lbv"};
            if (moved(body[k - 1]) != std::pair{0, static_cast<Twips>(100 * n("car" + i))})
                return fail(std::string(body[k - 1]) + " is not 100 twips lower per step of its vehicle");
            const bool chosen = n("car" + i) > 0 || n("tiem" + i) > 0;
            departed += chosen;
            hourglass = hourglass || n("tiem" + i) >= 45;
            for (int other = 1; other <= 4 && chosen; ++other)
                if (other != k && scene.label("portal" + std::to_string(other)).enabled())
                    return fail("a button is still enabled after another service was chosen");
        }
        if (departed > 1) return fail("two services departed");
        if ((scene.mouse_pointer() == MousePointer::Hourglass) != hourglass)
            return fail("the hourglass does not match the 45th light tick");
        return {};
    }

    // Each car stands as far up as its counter says, the first to finish is
    // the only winner, and the button lives only while the race is on.
    Broken race() const {
        const bool player_won = shown("play1");
        const bool rival_won = shown("play2");
        if (player_won && rival_won) return fail("both cars are shown as winners");
        if (moved("poli").second != -160 * n("pol")) return fail("the police car is not 160 twips up per click");
        if (moved("porch").second != -90 * n("por")) return fail("the rival car is not 90 twips up per tick");
        if (player_won != (n("pol") == 52)) return fail("the player's Winner does not match pol = 52");
        if (rival_won != (n("por") == 90)) return fail("the rival's Winner does not match por = 90");
        const bool racing = n("cont") == 9 && !player_won && !rival_won;
        if (scene.label("ava").enabled() != racing) return fail("Avanzar is enabled outside the race");
        return {};
    }

    // The clock shows its ticks, a gallon goes at ticks 82, 175 and 264, and
    // the game ends in a win or a loss, never both.
    Broken fire() const {
        const std::int64_t ticks = n("fue");
        const bool won = shown("win");
        const bool lost = shown("lose");
        if (won && lost) return fail("both You Win and You Lose are shown");
        if (scene.label("Label1").caption() != std::to_string(ticks)) return fail("the clock does not show fue");
        const int left = 3 - (ticks >= 82) - (ticks >= 175) - (ticks >= 264);
        if (scene.label("label2").caption() != std::to_string(left)) return fail("the gallons do not match the clock");
        if (shown("galones") != (ticks < 175)) return fail("the gallon label is in the wrong number");
        if (lost != (ticks == 265)) return fail("You Lose does not match the 265th clock tick");
        if (won != (n("cont2") == 40)) return fail("You Win does not match the 40th counted click");
        if (scene.label("bomba").enabled() == (won || lost)) return fail("the pump is live after the end");
        return {};
    }

    // A care's props are at home while it is idle and away from its 5th
    // tick to its 10th; the device flashes the patient, crosses out the eyes
    // and revives them, and is idle at 0.
    Broken ambulance() const {
        struct Care {
            const char* timer;
            const char* count;
            std::vector<const char*> props;
        };
        for (const Care& care : {Care{"Timer4", "tas", {"lbl", "tasa"}}, Care{"Timer3", "agua2", {"ag1", "ag2"}},
                                 Care{"Timer2", "vacun", {"va1", "va2", "va3", "va4"}}}) {
            const bool running = scene.timer(care.timer).enabled();
            if (!running && n(care.count) != 0) return fail(std::string(care.count) + " is not 0 while idle");
            const bool away = running && n(care.count) >= 5;
            for (const char* prop : care.props)
                if ((moved(prop) != std::pair{0, 0}) != away)
                    return fail(std::string(prop) + (away ? " is not away" : " is not at home") + " at " + care.count +
                                " = " + std::to_string(n(care.count)));
        }
        const std::int64_t shock = n("shock");
        const bool on = scene.timer("Timer5").enabled();
        if (!on && shock != 0) return fail("shock is not 0 while the device is idle");
        const bool flashing = on && ((shock >= 10 && shock < 15) || (shock >= 20 && shock < 25));
        const Colour fur = flashing ? scene.label("Label13").back_color() : scene.shape("ana").back_color();
        for (const char* part : {"oso1", "oso2", "oso3", "oso4", "oso5", "oso6", "oso7", "oso8"})
            if (scene.shape(part).back_color() != fur) return fail(std::string(part) + " has the wrong colour");
        const bool crossed = on && shock >= 30;
        for (const char* eye : {"ojo1", "ojo2", "ojo3", "ojo4"})
            if (shown(eye) == crossed) return fail("the eyes do not match shock = " + std::to_string(shock));
        for (const char* cross : {"e1", "e2", "e3", "e4", "ro"})
            if (shown(cross) != crossed) return fail("the crosses do not match shock = " + std::to_string(shock));
        if (shown("cam") == (on && shock >= 5)) return fail("the device's cover does not match shock");
        return {};
    }

    // The car climbs 90 twips per tick, the convoy runs from the red light
    // to the end, and the closing text shows only at the end.
    Broken closing() const {
        if (moved("luz10").second != -90 * n("b")) return fail("the car is not 90 twips up per tick of its timer");
        if (shown("lbl") != (n("c") == 158)) return fail("the closing text does not match c = 158");
        if (scene.timer("Timer3").enabled() != (n("b") == 21 && n("c") < 158))
            return fail("the convoy moves outside the red light to the end");
        return {};
    }

    const Scene& scene;
    StillScene start;
    mutable std::map<std::string, std::pair<const Control*, const Control*>, std::less<>> controls; // now, at start
    mutable std::map<std::string, const Counter*, std::less<>> counters;
};

namespace {

// A run shows the menu and then at most one service scene, never the menu
// again, and it lasts exactly as long as some scene is shown.
Broken navigation(const Runtime& runtime) {
    int created = 0;
    bool any_shown = false;
    for (std::size_t i = 0; i < runtime.scene_count(); ++i) {
        created += i > 0 && runtime.state(i) != SceneState::NotCreated;
        any_shown = any_shown || runtime.state(i) == SceneState::Shown;
    }
    if (created > 1) return "more than one service scene was created";
    if (created == 1 && runtime.state(0) == SceneState::Shown) return "the menu is shown after the switch";
    if (runtime.error()) return "a handler raised run-time error " + std::to_string(runtime.error()->number);
    if (runtime.running() != any_shown)
        return any_shown ? "the program ended while a scene is shown" : "the program runs with no scene shown";
    return {};
}

} // namespace

GameRules::GameRules(const Runtime& runtime) : runtime_(runtime), rules_(runtime.scene_count()) {}

GameRules::~GameRules() = default;

std::optional<std::string> GameRules::broken() {
    if (Broken broken = navigation(runtime_)) return broken;
    for (std::size_t i = 0; i < runtime_.scene_count(); ++i) {
        const Scene* scene = runtime_.scene(i);
        if (!scene) continue;
        // A scene is created at most once, so its address names it for good.
        if (!rules_[i] || &rules_[i]->scene != scene) rules_[i] = std::make_unique<SceneRules>(*scene);
        if (Broken broken = rules_[i]->check()) return broken;
    }
    return {};
}

} // namespace guardianes
