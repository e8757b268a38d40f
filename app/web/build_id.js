// SPDX-License-Identifier: GPL-3.0-or-later
// Put at the start of guardianes.js: the build this script comes from. The
// site's last build step writes the build's id over the zeros, as it does
// in the page and the compiled game.
Module['build'] = 'guardianes build 0000000000000000';
