// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>

namespace guardianes {

// Where a face comes from, and what the rasteriser must add because the
// file lacks the weight or slant asked for.
struct FaceFile {
    std::string path;
    int index = 0;
    std::string family;
    bool embolden = false;
    bool slant = false;
    bool capitals = false; // a stand-in for a face of capitals only
};

// Finds, through fontconfig, the file that draws each face the scenes name.
// A face this machine lacks is drawn in a stand-in of the same character: a
// plain sans-serif of similar widths for "MS Sans Serif", a fixed-pitch face
// for "Fixedsys", an informal rounded face for "Comic Sans MS", and a wide
// serif face drawn in capitals for "Copperplate Gothic Bold". Failing those,
// any sans-serif face draws it, and a warning says so once per face.
class FontFinder {
public:
    using Warning = std::function<void(const std::string&)>;
    // Whether the rasteriser can really open a file fontconfig offers.
    using CanOpen = std::function<bool(const FaceFile&)>;

    // Throws std::runtime_error with a one-line message when the machine
    // has no usable face at all.
    FontFinder(Warning warning, CanOpen can_open);
    ~FontFinder();
    FontFinder(const FontFinder&) = delete;
    FontFinder& operator=(const FontFinder&) = delete;

    const FaceFile& find(const std::string& face, bool bold, bool italic);

private:
    struct Config;
    std::optional<FaceFile> match(std::string_view family, bool bold, bool italic, bool exact) const;

    Warning warning_;
    CanOpen can_open_;
    std::unique_ptr<Config> config_;
    std::map<std::tuple<std::string, bool, bool>, FaceFile> files_;
    std::set<std::string> warned_;
};

} // namespace guardianes
