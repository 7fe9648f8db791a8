// The player's files in play: the settings read at start, with the command line's
// options over them for the run only; what the player changes in the game (full screen,
// the volume, the mute) saved at once; each life counted into the best results, shown on
// the pause panel and by `dreel --stats`. Reading, writing and the folders are
// runtime/settings_file.h, runtime/records.h and runtime/user_folders.h.
// Limits: a game watched with --play counts no life.
#pragma once

#include "game/command_line.h"

// Reads the settings and applies them with the command line's options on top (the
// window's start, the scale mode, the mouse, the volume and the pause), and the records.
void PlayerFilesStart(const CommandLine& line, bool countLives);
// At every pass of the frame loop: saves what the player changed since.
void PlayerFilesNotice();
// After every frame that ran: counts the life that has just ended.
void PlayerFilesAfterFrame();
// The end of the game: the life in progress is counted too.
void PlayerFilesEnd();
// `dreel --stats`: the records' text on standard output.
int PrintStats();
