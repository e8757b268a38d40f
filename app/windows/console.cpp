// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes.exe's standard output and error on the console of the command
// prompt it was started from, before main() prints anything.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

namespace {

// A program built for the window system starts without the console of the
// command prompt it was typed at, so --help, --version and a refused
// option would print nowhere. It borrows that console, where there is one,
// before main() prints anything; output sent to a file or a pipe is kept.
bool borrow_console() {
    const auto missing = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    const bool out = missing(STD_OUTPUT_HANDLE);
    const bool err = missing(STD_ERROR_HANDLE);
    if ((!out && !err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    if (out) std::freopen("CONOUT$", "w", stdout);
    if (err) std::freopen("CONOUT$", "w", stderr);
    return true;
}
[[maybe_unused]] const bool console_borrowed = borrow_console();

} // namespace
