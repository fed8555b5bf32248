// What the game's screens show, as pixel tests on a picture of its window.
#ifndef ZIBO_TESTS_SCREEN_PROBES_H
#define ZIBO_TESTS_SCREEN_PROBES_H

#include "GameProcess.h"

// The band's two white lines, edge to edge: title, statistics, credits.
bool ShowsBand(const WindowPicture& p);
// The health bar's red fill: play.
bool ShowsHud(const WindowPicture& p);
// The statistics' left column of figures.
bool ShowsStatisticsFigures(const WindowPicture& p);
// "Press SPACEBAR to ..." in white: title and statistics.
bool ShowsSpacePrompt(const WindowPicture& p);

#endif
