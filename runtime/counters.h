// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace guardianes {

// A run-time error raised by a handler. The handler stops at the step that
// raised it; the runtime reports it and ends the program.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& name) : std::runtime_error(name), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

struct OverflowError : RuntimeError {
    OverflowError() : RuntimeError(6, "Overflow") {}
};

// A 16-bit signed counter: starts at 0 and raises an overflow error when a
// handler steps it past 32767.
class Int16Counter {
public:
    explicit Int16Counter(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    std::int16_t value() const { return value_; }

    Int16Counter& operator+=(int step) {
        const int sum = value_ + step;
        if (sum > 32767 || sum < -32768) throw OverflowError();
        value_ = static_cast<std::int16_t>(sum);
        return *this;
    }
    Int16Counter& operator=(std::int16_t value) {
        value_ = value;
        return *this;
    }
    friend bool operator==(const Int16Counter& c, int n) { return c.value_ == n; }

private:
    std::string name_;
    std::int16_t value_ = 0;
};

// A variant number: starts empty, which counts as 0, and holds whole
// numbers wide enough never to overflow in the life of a program.
class VariantCounter {
public:
    explicit VariantCounter(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    bool empty() const { return !value_; }
    std::int64_t value() const { return value_.value_or(0); }

    VariantCounter& operator+=(std::int64_t step) {
        value_ = value() + step;
        return *this;
    }
    VariantCounter& operator=(std::int64_t value) {
        value_ = value;
        return *this;
    }
    friend bool operator==(const VariantCounter& c, std::int64_t n) { return c.value() == n; }

private:
    std::string name_;
    std::optional<std::int64_t> value_;
};

} // namespace guardianes
