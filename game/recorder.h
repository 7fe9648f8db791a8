// The played game written down as it runs: a recording (the seed, then each frame's
// input exactly as the game read it, in the input script format) and the state trace,
// the one the replay tool writes, so that the replay of the recording can be compared with it.
// Every frame is flushed at once: a crash keeps what came before. A file that cannot be
// written is one line on standard error and is given up; the game plays on. A file is
// only emptied once the game starts: a start that fails leaves a file that was there as it
// was, and removes one it created.
// Depends on the script, recording and trace writers (game/formats).
#pragma once

#include <cstdio>
#include <string>

struct RecorderOutput {
    std::FILE* file = nullptr;  // null: not asked for, or given up after a failure
    std::string path;           // for the message
    const char* what = "";      // "recording" or "trace", for the message
    bool created = false;       // it did not exist before: a failed start removes it
};

struct RecorderContext {
    RecorderOutput recording;
    RecorderOutput trace;
    std::string gameVersion;  // "Dreel 1.0.0", for the header
    bool begun = false;       // the header and trace frame 0 are written
    int32_t frame = 0;        // frames written so far
    std::string line;         // reused for every line
};
extern RecorderContext recorder;

// Creates the files asked for (an empty path: none). A file that cannot be created is
// reported and left out.
void RecorderOpen(const std::string& recordingPath, const std::string& tracePath, const std::string& gameVersion);
// Before the first frame: the header and the state after start-up. Later calls do nothing.
void RecorderBegin();
// After each frame: its input and its state.
void RecorderFrame();
// Closes both files; after a game that started (`played`), the beginning is written
// first if no frame ran. Without a start, files it created are removed.
void RecorderClose(bool played);
