// Runs one of our command-line tools for a test and collects its exit status and everything it printed.
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>

struct ToolRun {
    int status;         // the exit status, -1 when the tool did not exit normally
    std::string output; // standard output and standard error together
};

inline ToolRun runTool(const std::string &program, const std::string &arguments) {
    std::string command = program + " " + arguments + " 2>&1";
    ToolRun run{-1, ""};
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char chunk[512];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        run.output.append(chunk, got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
