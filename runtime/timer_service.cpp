// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/timer_service.h"

#include "runtime/scene.h"

#include <algorithm>

namespace guardianes {

namespace {

Nanos interval(const Timer& timer) { return static_cast<Nanos>(timer.interval()) * kMillisecond; }

bool runs(const Timer& timer) { return timer.enabled() && timer.interval() > 0; }

Nanos wakeup_at_or_after(Nanos t) { return TimerService::wakeup_at_or_before(t + kWakeupPeriod - 1); }

} // namespace

void TimerService::add(const Scene& scene, Nanos now) {
    for (const auto& control : scene.controls())
        if (control->kind() == ControlKind::Timer) {
            auto& timer = static_cast<Timer&>(*control);
            entries_.push_back({&timer, now + interval(timer), false});
        }
}

void TimerService::remove(const Scene& scene) {
    std::erase_if(entries_, [&](const Entry& e) { return &e.timer->scene() == &scene; });
}

TimerService::Entry* TimerService::find(const Timer& timer) {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.timer == &timer; });
    return it == entries_.end() ? nullptr : &*it;
}

void TimerService::started(const Timer& timer, Nanos now) {
    if (Entry* e = find(timer)) {
        e->due = now + interval(timer);
        e->pending = false;
    }
}

void TimerService::stopped(const Timer& timer) {
    if (Entry* e = find(timer)) e->pending = false;
}

std::optional<Nanos> TimerService::next_wakeup() const {
    std::optional<Nanos> earliest;
    for (const Entry& e : entries_) {
        if (!runs(*e.timer)) continue;
        const Nanos due = e.pending ? last_wakeup_ : e.due;
        if (!earliest || due < *earliest) earliest = due;
    }
    if (!earliest) return std::nullopt;
    return std::max(wakeup_at_or_after(*earliest), last_wakeup_ + kWakeupPeriod);
}

bool TimerService::serve(Nanos now, const Deliver& deliver) {
    const auto next = next_wakeup();
    const Nanos at = wakeup_at_or_before(now);
    if (!next || at < *next) return false;
    last_wakeup_ = at;
    for (Entry& e : entries_)
        if (runs(*e.timer) && e.due <= at) e.pending = true;
    // Indexing, not iterators: a tick may show a new scene and add its timers.
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!entries_[i].pending) continue;
        entries_[i].pending = false;
        entries_[i].due = at + interval(*entries_[i].timer);
        if (!deliver(*entries_[i].timer, at)) break;
    }
    return true;
}

} // namespace guardianes
