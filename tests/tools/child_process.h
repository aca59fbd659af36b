#pragma once
// Runs a program as a child process with a chosen environment and standard input, and
// collects its exit status, standard output and standard error (POSIX only).

#include <string>
#include <vector>

struct SChildRun {
    int nExitStatus = -1; // -1 when it did not exit normally
    std::string strStdout;
    std::string strStderr;
};

struct SChildInput {
    std::vector<std::string> args;        // without the program name
    std::vector<std::string> environment; // "NAME=value", the child's whole environment
    bool bHaveStdin = false;              // false: standard input is /dev/null
    std::string strStdin;
    bool bStdoutFull = false; // standard output is /dev/full: every write fails
};

SChildRun RunChild(const std::string& strProgram, const SChildInput& input);
