// SPDX-License-Identifier: GPL-3.0-or-later
// guardianes-sim.exe's standard input, output and error in binary, before
// main() reads or writes them: Windows would otherwise turn each "\n" of an
// answer into "\r\n" and drop the "\r" of a script's line, and the answers
// would not be the same bytes as on Linux. (Files it opens are binary too,
// through MinGW's binmode.o.)

#include <fcntl.h>
#include <io.h>

#include <initializer_list>

namespace {

bool binary_streams() {
    for (const int stream : {0, 1, 2}) _setmode(stream, _O_BINARY);
    return true;
}
[[maybe_unused]] const bool streams_binary = binary_streams();

} // namespace
