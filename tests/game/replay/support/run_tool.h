// Runs the dreel-replay executable as a separate process, the way other tools use it,
// and collects its exit code, its standard error and its trace.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "trace_reader.h"

struct ToolRun {
    int exitCode = -1;
    std::string out;    // standard output
    std::string err;    // standard error
    std::string trace;  // the trace file's text (when a trace was asked for)
    std::vector<TraceFrame> frames;
    std::string traceError;  // why the trace could not be read back, if it could not
};

// A fresh folder for one test's files.
std::string MakeScratchFolder();

std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// Runs the tool with these arguments; the script text, when given, is written to a
// file and passed with --script; the trace is asked for and read back. `stdinText`
// feeds standard input.
ToolRun RunTool(const std::vector<std::string>& args, const std::string* script = nullptr,
                const std::string& stdinText = "");

// Convenience: seed + script, trace read back, frames as the script says.
ToolRun Replay(uint32_t seed, const std::string& script, const std::vector<std::string>& extra = {});

// The same, run once per test process: several tests read the same long replay.
const ToolRun& CachedReplay(uint32_t seed, const std::string& script, const std::vector<std::string>& extra = {});

// `count` copies of one script line.
std::string Repeat(const std::string& line, int count);
