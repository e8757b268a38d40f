#include "fuzz/game_rules.h"

#include <array>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <variant>

namespace guardianes {

namespace {

using Broken = std::optional<std::string>;

constexpr std::array<std::string_view, 4> kServiceScenes{"Form2", "Form3", "Form4", "Form5"};

std::int64_t value(const Counter& c) {
    return std::visit([](const auto& k) -> std::int64_t { return k.value(); }, c);
}

const std::string& name_of(const Counter& c) {
    return std::visit([](const auto& k) -> const std::string& { return k.name(); }, c);
}

const Counter& counter(const Scene& scene, std::string_view name) {
    for (const Counter& c : scene.counters())
        if (name_of(c) == name) return c;
    throw std::invalid_argument(scene.name() + " has no counter named '" + std::string(name) + "'");
}

// A label, shape or line of a scene, with the place its table gives it
// before any handler moves it.
class Part {
public:
    Part(const Scene& scene, std::string_view name) : control_(scene.find(name)) {
        if (!control_ || control_->kind() == ControlKind::Timer)
            throw std::invalid_argument(scene.name() + " has no control named '" + std::string(name) + "'");
        for (const ControlRow& row : scene.table().controls) {
            if (row.name != name) continue;
            if (const auto* label = std::get_if<LabelProps>(&row.props)) home_ = {label->left, label->top};
            if (const auto* shape = std::get_if<ShapeProps>(&row.props)) home_ = {shape->left, shape->top};
        }
    }

    const std::string& name() const { return control_->name(); }
    Twips left() const { return is(ControlKind::Shape) ? shape().left() : label().left(); }
    Twips top() const { return is(ControlKind::Shape) ? shape().top() : label().top(); }
    Twips home_left() const { return home_.first; }
    Twips home_top() const { return home_.second; }
    bool visible() const {
        if (is(ControlKind::Shape)) return shape().visible();
        if (is(ControlKind::Line)) return static_cast<const Line&>(*control_).visible();
        return label().visible();
    }

private:
    bool is(ControlKind kind) const { return control_->kind() == kind; }
    const Label& label() const { return static_cast<const Label&>(*control_); }
    const Shape& shape() const { return static_cast<const Shape&>(*control_); }

    const Control* control_;
    std::pair<Twips, Twips> home_{};
};

} // namespace

struct GameRules::SceneRules {
    explicit SceneRules(const Scene& s) : scene(s) {}
    virtual ~SceneRules() = default;
    virtual Broken check() const = 0;
    Broken fail(const std::string& what) const { return scene.name() + ": " + what; }

    const Scene& scene;
};

namespace {

using SceneRules = GameRules::SceneRules;

// One departure at a time, its vehicle 100 twips lower per step, the other
// buttons dead once it has started, the hourglass from the 45th light tick.
struct MenuRules final : SceneRules {
    struct Service {
        const Label* button;
        Part body;
        const Counter* car;
        const Counter* tiem;
    };

    explicit MenuRules(const Scene& s) : SceneRules(s) {
        static constexpr std::array<std::array<std::string_view, 4>, 4> kServices{{
            {"portal1", "lcop", "car1", "tiem1"},
            {"portal2", "lbm", "car2", "tiem2"},
            {"portal3", "lam", "car3", "tiem3"},
            {"portal4", "lbv", "car4", "tiem4"},
        }};
        for (const auto& [button, body, car, tiem] : kServices)
            services.push_back({&s.label(button), Part(s, body), &counter(s, car), &counter(s, tiem)});
    }

    Broken check() const override {
        const Service* chosen = nullptr;
        int departed = 0;
        bool hourglass = false;
        for (const Service& service : services) {
            if (value(*service.car) > 0 || value(*service.tiem) > 0) {
                ++departed;
                chosen = &service;
            }
            hourglass = hourglass || value(*service.tiem) >= 45;
            if (service.body.top() != service.body.home_top() + 100 * value(*service.car))
                return fail(service.body.name() + " is not 100 twips lower per step of its vehicle");
        }
        if (departed > 1) return fail("two services departed");
        for (const Service& service : services)
            if (chosen && &service != chosen && service.button->enabled())
                return fail(service.button->name() + " is still enabled after another service was chosen");
        if ((scene.mouse_pointer() == MousePointer::Hourglass) != hourglass)
            return fail("the hourglass does not match the 45th light tick");
        return {};
    }

    std::vector<Service> services;
};

// Each car stands as far up as its counter says, the first to finish is
// the only winner, and the button lives only while the race is on.
struct RaceRules final : SceneRules {
    explicit RaceRules(const Scene& s)
        : SceneRules(s), pol(counter(s, "pol")), por(counter(s, "por")), cont(counter(s, "cont")), poli(s, "poli"),
          porch(s, "porch"), play1(s.label("play1")), play2(s.label("play2")), ava(s.label("ava")) {}

    Broken check() const override {
        const bool player_won = play1.visible();
        const bool rival_won = play2.visible();
        if (player_won && rival_won) return fail("both cars are shown as winners");
        if (poli.top() != poli.home_top() - 160 * value(pol))
            return fail("the police car is not 160 twips higher per counted click");
        if (porch.top() != porch.home_top() - 90 * value(por))
            return fail("the rival car is not 90 twips higher per tick");
        if (player_won != (value(pol) == 52)) return fail("the player's Winner does not match pol = 52");
        if (rival_won != (value(por) == 90)) return fail("the rival's Winner does not match por = 90");
        const bool racing = value(cont) == 9 && !player_won && !rival_won;
        if (ava.enabled() != racing) return fail("Avanzar is enabled outside the race");
        return {};
    }

    const Counter& pol;
    const Counter& por;
    const Counter& cont;
    Part poli;
    Part porch;
    const Label& play1;
    const Label& play2;
    const Label& ava;
};

// The clock shows its ticks, a gallon goes at ticks 82, 175 and 264, and
// the game ends in a win or a loss, never both.
struct FireRules final : SceneRules {
    explicit FireRules(const Scene& s)
        : SceneRules(s), fue(counter(s, "fue")), cont2(counter(s, "cont2")), win(s.label("win")), lose(s.label("lose")),
          clock(s.label("Label1")), gallons(s.label("label2")), plural(s.label("galones")), pump(s.label("bomba")) {}

    Broken check() const override {
        const std::int64_t ticks = value(fue);
        const bool won = win.visible();
        const bool lost = lose.visible();
        if (won && lost) return fail("both You Win and You Lose are shown");
        if (clock.caption() != std::to_string(ticks)) return fail("the clock does not show fue");
        const int left = 3 - (ticks >= 82) - (ticks >= 175) - (ticks >= 264);
        if (gallons.caption() != std::to_string(left)) return fail("the gallons left do not match the clock");
        if (plural.visible() != (ticks < 175)) return fail("the gallon label is in the wrong number");
        if (lost != (ticks == 265)) return fail("You Lose does not match the 265th clock tick");
        if (won != (value(cont2) == 40)) return fail("You Win does not match the 40th counted click");
        if (pump.enabled() == (won || lost)) return fail("the pump is live after the end, or dead before it");
        return {};
    }

    const Counter& fue;
    const Counter& cont2;
    const Label& win;
    const Label& lose;
    const Label& clock;
    const Label& gallons;
    const Label& plural;
    const Label& pump;
};

// A care animation leaves its prop at rest until its 5th tick, away until
// its 10th, and at its layout position whenever it is idle; the device's
// sequence flashes the patient, crosses out the eyes and then revives them.
struct AmbulanceRules final : SceneRules {
    struct Care {
        const Timer* timer;
        const Counter* count;
        std::vector<std::pair<Part, Twips>> parts; // with the Left each has while away
    };

    explicit AmbulanceRules(const Scene& s)
        : SceneRules(s), shock(counter(s, "shock")), device(s.timer("Timer5")), energy(s.label("Label13")),
          swatch(s.shape("ana")), cam(s, "cam") {
        cares.push_back({&s.timer("Timer4"), &counter(s, "tas"), {{Part(s, "lbl"), 2040}, {Part(s, "tasa"), 2040}}});
        cares.push_back({&s.timer("Timer3"), &counter(s, "agua2"), {{Part(s, "ag1"), 5040}, {Part(s, "ag2"), 5040}}});
        cares.push_back(
            {&s.timer("Timer2"),
             &counter(s, "vacun"),
             {{Part(s, "va1"), 6000}, {Part(s, "va2"), 5160}, {Part(s, "va4"), 4800}, {Part(s, "va3"), 5760}}});
        for (const char* name : {"oso1", "oso2", "oso3", "oso4", "oso5", "oso6", "oso7", "oso8"})
            fur.push_back(&s.shape(name));
        for (const char* name : {"ojo1", "ojo2", "ojo3", "ojo4"}) eyes.emplace_back(s, name);
        for (const char* name : {"e1", "e2", "e3", "e4", "ro"}) crosses.emplace_back(s, name);
    }

    Broken check() const override {
        for (const Care& care : cares) {
            const std::int64_t n = value(*care.count);
            const bool running = care.timer->enabled();
            const std::string& counter_name = name_of(*care.count);
            if (!running && n != 0) return fail(counter_name + " is not 0 while its animation is idle");
            if (n > 9) return fail(counter_name + " reached 10 and was not reset");
            const bool away = running && n >= 5;
            for (const auto& [part, away_left] : care.parts)
                if (part.left() != (away ? away_left : part.home_left()))
                    return fail(part.name() + " is not at its " + (away ? "away" : "layout") + " position at " +
                                counter_name + " = " + std::to_string(n));
        }
        const std::int64_t count = value(shock);
        const bool resuscitating = device.enabled();
        if (!resuscitating && count != 0) return fail("shock is not 0 while the device is idle");
        const bool flashing = resuscitating && ((count >= 10 && count < 15) || (count >= 20 && count < 25));
        const Colour colour = flashing ? energy.back_color() : swatch.back_color();
        for (const Shape* part : fur)
            if (part->back_color() != colour)
                return fail(part->name() + " has the wrong colour at shock = " + std::to_string(count));
        const bool crossed = resuscitating && count >= 30;
        for (const Part& eye : eyes)
            if (eye.visible() == crossed) return fail("the eyes do not match shock = " + std::to_string(count));
        for (const Part& cross : crosses)
            if (cross.visible() != crossed) return fail("the crosses do not match shock = " + std::to_string(count));
        if (cam.visible() == (resuscitating && count >= 5))
            return fail("the white square does not match shock = " + std::to_string(count));
        return {};
    }

    std::vector<Care> cares;
    const Counter& shock;
    const Timer& device;
    const Label& energy;
    const Shape& swatch;
    Part cam;
    std::vector<const Shape*> fur;
    std::vector<Part> eyes;
    std::vector<Part> crosses;
};

// The car climbs 90 twips per tick of its timer, the convoy runs from the
// red light to the end, and the closing text shows only at the end.
struct ClosingRules final : SceneRules {
    explicit ClosingRules(const Scene& s)
        : SceneRules(s), b(counter(s, "b")), c(counter(s, "c")), car(s, "luz10"), text(s, "lbl"),
          convoy(s.timer("Timer3")) {}

    Broken check() const override {
        if (car.top() != car.home_top() - 90 * value(b))
            return fail("the car is not 90 twips higher per tick of its timer");
        if (text.visible() != (value(c) == 158)) return fail("the closing text does not match c = 158");
        if (convoy.enabled() != (value(b) == 21 && value(c) < 158))
            return fail("the convoy moves outside the red light to the end");
        return {};
    }

    const Counter& b;
    const Counter& c;
    Part car;
    Part text;
    const Timer& convoy;
};

std::unique_ptr<SceneRules> rules_of(const Scene& scene) {
    const std::string& name = scene.name();
    if (name == "Form1") return std::make_unique<MenuRules>(scene);
    if (name == "Form2") return std::make_unique<RaceRules>(scene);
    if (name == "Form3") return std::make_unique<FireRules>(scene);
    if (name == "Form4") return std::make_unique<AmbulanceRules>(scene);
    if (name == "Form5") return std::make_unique<ClosingRules>(scene);
    throw std::invalid_argument("no rules for a scene named '" + name + "'");
}

// A run shows the menu and then at most one service scene, never the menu
// again, and it lasts exactly as long as some scene is shown.
Broken navigation(const Runtime& runtime) {
    int created = 0;
    for (std::string_view name : kServiceScenes)
        if (runtime.state(*runtime.index_of(name)) != SceneState::NotCreated) ++created;
    if (created > 1) return "more than one service scene was created";
    if (created == 1 && runtime.state(*runtime.index_of("Form1")) == SceneState::Shown)
        return "the menu is shown after the switch to a service scene";
    bool any_shown = false;
    for (std::size_t i = 0; i < runtime.scene_count(); ++i)
        any_shown = any_shown || runtime.state(i) == SceneState::Shown;
    if (runtime.error()) return "a handler raised run-time error " + std::to_string(runtime.error()->number);
    if (runtime.running() != any_shown)
        return any_shown ? "the program ended while a scene is shown" : "the program runs with no scene shown";
    return {};
}

} // namespace

GameRules::GameRules(const Runtime& runtime)
    : runtime_(runtime), bound_to_(runtime.scene_count(), nullptr), rules_(runtime.scene_count()) {}

GameRules::~GameRules() = default;

std::optional<std::string> GameRules::broken() {
    if (Broken broken = navigation(runtime_)) return broken;
    for (std::size_t i = 0; i < runtime_.scene_count(); ++i) {
        const Scene* scene = runtime_.scene(i);
        if (!scene) continue;
        // A scene is created at most once, so its address names it for good.
        if (bound_to_[i] != scene) {
            rules_[i] = rules_of(*scene);
            bound_to_[i] = scene;
        }
        if (Broken broken = rules_[i]->check()) return broken;
    }
    return {};
}

} // namespace guardianes
