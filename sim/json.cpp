// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/json.h"

#include "runtime/utf8.h"

#include <cstdio>
#include <variant>

namespace guardianes {

namespace {

class Object {
public:
    explicit Object(Nanos t) { text_ = "{\"t\":" + format_ms(t); }
    Object() { text_ = "{"; }

    Object& raw(std::string_view key, std::string_view value) {
        if (text_.size() > 1) text_ += ',';
        text_ += json_string(key);
        text_ += ':';
        text_ += value;
        return *this;
    }
    Object& str(std::string_view key, std::string_view value) { return raw(key, json_string(value)); }
    Object& num(std::string_view key, long long value) { return raw(key, std::to_string(value)); }
    Object& boolean(std::string_view key, bool value) { return raw(key, value ? "true" : "false"); }
    Object& colour(std::string_view key, Colour value) { return str(key, to_string(value)); }
    std::string close() { return text_ + "}"; }

private:
    std::string text_;
};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

int as_int(auto e) { return static_cast<int>(e); }

std::string control_json(const Control& control) {
    Object o;
    o.str("Name", control.name()).str("Kind", to_string(control.kind()));
    switch (control.kind()) {
    case ControlKind::Label: {
        const LabelProps& p = static_cast<const Label&>(control).props();
        o.num("Left", p.left).num("Top", p.top).num("Width", p.width).num("Height", p.height);
        o.str("Caption", p.caption).colour("BackColor", p.back_color).num("BackStyle", as_int(p.back_style));
        o.colour("ForeColor", p.fore_color).num("BorderStyle", as_int(p.border_style));
        o.num("Alignment", as_int(p.alignment)).str("FontName", p.font.face).raw("FontSize", number(p.font.size));
        o.boolean("FontBold", p.font.bold).boolean("FontItalic", p.font.italic);
        o.boolean("FontUnderline", p.font.underline).boolean("FontStrikethrough", p.font.strikethrough);
        o.boolean("Enabled", p.enabled).boolean("Visible", p.visible).num("MousePointer", as_int(p.mouse_pointer));
        break;
    }
    case ControlKind::Shape: {
        const ShapeProps& p = static_cast<const Shape&>(control).props();
        o.num("Left", p.left).num("Top", p.top).num("Width", p.width).num("Height", p.height);
        o.num("Shape", as_int(p.shape)).num("BackStyle", as_int(p.back_style)).colour("BackColor", p.back_color);
        o.num("FillStyle", as_int(p.fill_style)).colour("FillColor", p.fill_color);
        o.colour("BorderColor", p.border_color).num("BorderWidth", p.border_width).boolean("Visible", p.visible);
        break;
    }
    case ControlKind::Line: {
        const LineProps& p = static_cast<const Line&>(control).props();
        o.num("X1", p.x1).num("Y1", p.y1).num("X2", p.x2).num("Y2", p.y2);
        o.colour("BorderColor", p.border_color).num("BorderWidth", p.border_width).boolean("Visible", p.visible);
        break;
    }
    case ControlKind::Timer: {
        const auto& timer = static_cast<const Timer&>(control);
        o.num("Interval", timer.interval()).boolean("Enabled", timer.enabled());
        break;
    }
    }
    return o.close();
}

} // namespace

std::string format_ms(Nanos t) {
    const bool negative = t < 0;
    const unsigned long long abs =
        negative ? 0ULL - static_cast<unsigned long long>(t) : static_cast<unsigned long long>(t);
    // Built in two steps: GCC 12 at -O3 warns falsely (-Wrestrict) about
    // prepending to a temporary string.
    std::string text = negative ? "-" : "";
    text += std::to_string(abs / 1'000'000);
    unsigned long long frac = abs % 1'000'000;
    if (frac != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%06llu", frac);
        std::string f = digits;
        while (f.back() == '0') f.pop_back();
        text += "." + f;
    }
    return text;
}

// Valid UTF-8 passes as it is; each broken sequence becomes U+FFFD, so that
// every answer is valid UTF-8 whatever bytes a caption holds.
std::string json_string(std::string_view text) {
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = read_utf8(text, at);
        at += c.size;
        switch (c.code) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c.code < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c.code));
                out += escaped;
            } else {
                append_utf8(out, c.code);
            }
        }
    }
    return out + "\"";
}

namespace {

Object status_object(const Runtime& runtime, Nanos t) {
    Object scenes;
    for (std::size_t i = 0; i < runtime.scene_count(); ++i)
        scenes.str(runtime.table(i).name, to_string(runtime.state(i)));
    const auto& error = runtime.error();
    const std::string error_text = error ? json_string(std::to_string(error->number) + " " + error->name) : "null";
    return std::move(
        Object(t).boolean("running", runtime.running()).raw("scenes", scenes.close()).raw("error", error_text));
}

} // namespace

std::string status_json(const Runtime& runtime, Nanos t) { return status_object(runtime, t).close(); }

std::string status_json(const Runtime& runtime, Nanos t, int games) {
    return status_object(runtime, t).num("games", games).close();
}

std::string dump_json(const Runtime& runtime, std::size_t index, Nanos t) {
    Object o(t);
    o.str("scene", runtime.table(index).name).str("state", to_string(runtime.state(index)));
    const Scene* scene = runtime.scene(index);
    if (!scene) return o.close();
    const WindowProps& w = scene->table().window;
    o.str("Caption", scene->caption()).colour("BackColor", w.back_color).colour("ForeColor", w.fore_color);
    o.colour("FillColor", w.fill_color).num("MousePointer", as_int(scene->mouse_pointer()));
    o.num("ClientWidth", scene->client_width()).num("ClientHeight", scene->client_height());
    Object counters;
    for (const Counter& c : scene->counters()) {
        if (const auto* i16 = std::get_if<Int16Counter>(&c)) {
            counters.num(i16->name(), i16->value());
        } else {
            const auto& v = std::get<VariantCounter>(c);
            counters.raw(v.name(), v.empty() ? "null" : std::to_string(v.value()));
        }
    }
    o.raw("counters", counters.close());
    std::string controls = "[";
    for (const auto& control : scene->controls()) {
        if (controls.size() > 1) controls += ',';
        controls += control_json(*control);
    }
    o.raw("controls", controls + "]");
    return o.close();
}

std::string pointer_json(std::string_view scene, int x, int y, MousePointer pointer, Nanos t) {
    return Object(t).str("scene", scene).num("x", x).num("y", y).num("pointer", as_int(pointer)).close();
}

std::string key_json(std::string_view scene, std::string_view key, int x, int y, MousePointer pointer, Nanos t) {
    return Object(t)
        .str("scene", scene)
        .str("key", key)
        .num("x", x)
        .num("y", y)
        .num("pointer", as_int(pointer))
        .close();
}

std::string ignored_json(std::string_view what, Nanos t) { return Object(t).str("ignored", what).close(); }

std::string sounds_json(const std::vector<StartedCue>& sounds, Nanos t) {
    std::string list = "[";
    for (const StartedCue& sound : sounds) {
        if (list.size() > 1) list += ',';
        list += Object(sound.t).str("scene", sound.scene).str("cue", to_string(sound.cue)).close();
    }
    return Object(t).raw("sounds", list + "]").close();
}

} // namespace guardianes
