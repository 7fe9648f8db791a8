#include "run_tool.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#ifndef DREEL_REPLAY_EXE
#error "DREEL_REPLAY_EXE must name the dreel-replay executable"
#endif

namespace {

std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

}  // namespace

std::string MakeScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/dreel-replay-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot make a scratch folder");
    return buffer.data();
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

ToolRun RunTool(const std::vector<std::string>& args, const std::string* script, const std::string& stdinText) {
    const std::string dir = MakeScratchFolder();
    std::string command = Quoted(DREEL_REPLAY_EXE);
    for (const std::string& a : args) {
        command += ' ';
        command += Quoted(a);
    }
    if (script) {
        WriteFileText(dir + "/script.txt", *script);
        command += " --script " + Quoted(dir + "/script.txt");
    }
    bool traced = false;
    for (const std::string& a : args) traced = traced || a == "--trace";
    const std::string tracePath = dir + "/trace.jsonl";
    if (!traced) command += " --trace " + Quoted(tracePath);
    WriteFileText(dir + "/stdin.txt", stdinText);
    command += " <" + Quoted(dir + "/stdin.txt") + " >" + Quoted(dir + "/out.txt") + " 2>" + Quoted(dir + "/err.txt");

    ToolRun run;
    int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFileText(dir + "/out.txt");
    run.err = ReadFileText(dir + "/err.txt");
    if (!traced) {
        run.trace = ReadFileText(tracePath);
        TraceReadResult read = ReadTrace(run.trace);
        run.frames = std::move(read.frames);
        run.traceError = read.error;
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return run;
}

ToolRun Replay(uint32_t seed, const std::string& script, const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"--seed", std::to_string(seed)};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTool(args, &script);
}

const ToolRun& CachedReplay(uint32_t seed, const std::string& script, const std::vector<std::string>& extra) {
    static std::map<std::string, ToolRun> runs;
    std::string key = std::to_string(seed) + "\n" + script;
    for (const std::string& e : extra) key += "\n" + e;
    auto found = runs.find(key);
    if (found == runs.end()) found = runs.emplace(key, Replay(seed, script, extra)).first;
    return found->second;
}

std::string Repeat(const std::string& line, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += line + "\n";
    return s;
}
