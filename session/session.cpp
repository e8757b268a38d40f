// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/session.h"

#include "session/keyboard_pointer.h"

#include <algorithm>

namespace guardianes {

Session::Session(GameMaker make_game, Clock& clock, GameOptions options, const std::vector<std::string>& languages)
    : make_game_(std::move(make_game)), clock_(clock), options_(std::move(options)), layout_(options_),
      texts_(Texts::choose(options_.language, languages).value_or(Texts())) {}

Session::~Session() {
    if (runtime_) runtime_->set_observer(nullptr);
}

void Session::new_game() {
    if (runtime_) {
        runtime_->set_observer(nullptr);
        for (std::size_t i = 0; i < runtime_->scene_count(); ++i)
            if (Scene* gone = runtime_->scene(i); gone && observer_) observer_->cues_stopped(*gone);
        if (observer_) observer_->game_closing();
        runtime_.reset();
    }
    runtime_ = make_game_();
    runtime_->set_translation(&scene_texts_);
    pointers_.assign(runtime_->scene_count(), std::nullopt);
    ++games_started_;
    last_press_ = clock_.now();
    phase_ = Phase::Playing;
    runtime_->set_observer(this);
    runtime_->start();
    if (observer_) observer_->game_started();
    settle();
}

std::string_view Session::SceneTexts::caption(std::string_view scene, std::string_view control,
                                              std::string_view caption) const {
    if (texts_.language().empty()) return caption; // the game's own text: no place to look up
    if (control.empty()) return texts_(caption_context(scene, control), caption);
    return is_words(caption) ? texts_(caption_context(scene, control), caption) : caption;
}

Scene* Session::scene(std::size_t index) const {
    return runtime_ && index < runtime_->scene_count() ? runtime_->scene(index) : nullptr;
}

void Session::press(Scene& scene, Pixel at) {
    if (!playing()) return;
    last_press_ = clock_.now();
    record_pointer(scene, at);
    runtime_->press(scene, at.x, at.y);
    settle();
}

void Session::release(Scene& scene, Pixel at) {
    if (!playing()) return;
    record_pointer(scene, at);
    runtime_->release(scene, at.x, at.y);
    settle();
}

void Session::pointer_moved(Scene& scene, Pixel at) {
    if (playing()) record_pointer(scene, at);
}

void Session::close(Scene& scene) {
    // On a shared machine a child's close must not end the game.
    if (!playing() || options_.kiosk) return;
    runtime_->close(scene);
    settle();
}

bool Session::key(Scene* scene, KeyStroke press) {
    if (!playing()) return false;
    last_press_ = clock_.now();
    if (options_.kiosk && press.key == Key::Escape) {
        if (press.repeat) return true;
        if (press.shift && press.ctrl)
            end();
        else
            new_game();
        return true;
    }
    if (!options_.keyboard || !scene || !scene->shown()) return false;
    const Pixel at = pointer(*scene);
    std::optional<PointerKey> move;
    switch (press.key) {
    case Key::Space:
    case Key::Enter:
        // A click, as the mouse's; a held key clicks once.
        if (press.repeat) return true;
        runtime_->press(*scene, at.x, at.y);
        if (scene->shown()) runtime_->release(*scene, at.x, at.y);
        settle();
        return true;
    case Key::Left: move = PointerKey::Left; break;
    case Key::Right: move = PointerKey::Right; break;
    case Key::Up: move = PointerKey::Up; break;
    case Key::Down: move = PointerKey::Down; break;
    case Key::Tab: move = press.shift ? PointerKey::Previous : PointerKey::Next; break;
    case Key::Escape:
    case Key::Other: return false;
    }
    const Pixel to = KeyboardPointer::move(*scene, at, *move, press.shift);
    record_pointer(*scene, to);
    if (observer_) observer_->pointer_moved_by_keys(*scene, to);
    return true;
}

void Session::error_seen() {
    if (phase_ != Phase::ShowingError) return;
    // On a shared machine the game never ends by itself: the next child
    // finds a new game.
    if (options_.kiosk) return new_game();
    phase_ = Phase::Ended;
    failed_ = true;
    if (observer_) observer_->session_ended();
}

void Session::window_resized(Scene& scene, Size client, Scale planned) {
    if (!playing()) return;
    const Size own{to_pixels(scene.table().window.client_width), to_pixels(scene.table().window.client_height)};
    if (const std::optional<Size> size = layout_.resized(own, client, planned)) {
        runtime_->resize(scene, size->width, size->height);
        settle();
    }
}

void Session::quit() {
    if (playing()) end();
}

std::string Session::window_failed(std::string_view why) {
    failed_ = true;
    window_failed_ = true;
    if (phase_ == Phase::NotStarted) phase_ = Phase::Ended;
    return texts_.format(translatable("messages|no-window", "cannot open a window: %s"), {why});
}

std::string Session::sound_failed(std::string_view why) {
    silent_ = true;
    return texts_.format(translatable("messages|no-sound", "playing without sound: %s"), {why});
}

namespace {

// The run-time error's number, and its name in the game's texts.
std::pair<std::string, std::string_view> error_words(const Texts& texts, const ErrorReport& error) {
    // Overflow is the only error the game knows.
    const std::string_view name =
        error.name == "Overflow" ? texts(translatable("messages|overflow", "Overflow")) : error.name;
    return {std::to_string(error.number), name};
}

} // namespace

Message Session::error_message(const ErrorReport& error) const {
    const auto [number, name] = error_words(texts_, error);
    return {std::string(texts_(translatable("messages|error-title", "Guardianes"))),
            texts_.format(translatable("messages|error", "Run-time error '%s':\n\n%s"), {number, name})};
}

std::string Session::error_line(const ErrorReport& error) const {
    const auto [number, name] = error_words(texts_, error);
    return texts_.format(translatable("messages|error-line", "Run-time error '%s': %s"), {number, name});
}

Pixel Session::pointer(const Scene& scene) const {
    const std::size_t index = scene.index();
    return index < pointers_.size() && pointers_[index] ? *pointers_[index] : Pixel{0, 0};
}

MousePointer Session::pointer_shape(const Scene& scene) const {
    const Pixel at = pointer(scene);
    return Runtime::pointer_shape_at(scene, at.x, at.y);
}

void Session::carry_pointer(Scene& scene) {
    const int width = std::max(to_pixels(scene.client_width()), 1);
    const int height = std::max(to_pixels(scene.client_height()), 1);
    record_pointer(scene, {std::clamp(last_pointer_.x, 0, width - 1), std::clamp(last_pointer_.y, 0, height - 1)});
}

std::optional<Nanos> Session::next_wakeup() const {
    if (!playing()) return std::nullopt;
    std::optional<Nanos> next = runtime_->next_wakeup();
    if (const auto idle = idle_deadline()) next = std::min(next.value_or(*idle), *idle);
    return next;
}

std::optional<Nanos> Session::serve_wakeup() {
    if (!playing()) return std::nullopt;
    if (const auto idle = idle_deadline(); idle && clock_.now() >= *idle) {
        new_game();
        return std::nullopt;
    }
    const std::optional<Nanos> due = runtime_->next_wakeup();
    const bool served = runtime_->serve_wakeup();
    settle();
    return served ? due : std::nullopt;
}

std::optional<Nanos> Session::idle_deadline() const {
    if (options_.idle_restart <= 0) return std::nullopt;
    return last_press_ + options_.idle_restart;
}

void Session::record_pointer(const Scene& scene, Pixel at) {
    if (scene.index() < pointers_.size()) pointers_[scene.index()] = at;
    last_pointer_ = at;
}

void Session::end() {
    // Every window goes, as if the player had closed them all.
    runtime_->end();
    phase_ = Phase::Ended;
    if (observer_) observer_->session_ended();
}

void Session::settle() {
    if (phase_ == Phase::Playing && window_failed_) return end();
    if (phase_ != Phase::Playing || runtime_->running()) return;
    if (const auto& error = runtime_->error()) {
        phase_ = Phase::ShowingError;
        if (observer_) observer_->error_raised(*error);
        return;
    }
    phase_ = Phase::Ended;
    if (observer_) observer_->session_ended();
}

void Session::scene_shown(Scene& scene) {
    if (observer_) observer_->scene_shown(scene);
}

void Session::scene_hidden(Scene& scene) {
    if (observer_) observer_->scene_hidden(scene);
}

void Session::scene_closed(Scene& scene) {
    if (scene.index() < pointers_.size()) pointers_[scene.index()].reset();
    if (observer_) observer_->scene_closed(scene);
}

void Session::scene_changed(Scene& scene) {
    if (observer_) observer_->scene_changed(scene);
}

void Session::cue_started(Scene& scene, Cue cue) {
    if (observer_ && !options_.mute && !silent_) observer_->cue_started(scene, cue);
}

void Session::cues_stopped(Scene& scene) {
    if (observer_) observer_->cues_stopped(scene);
}

} // namespace guardianes
