#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

// An unlinked temporary file: the child writes it, the parent reads it back from the start.
class CTempFile {
public:
    CTempFile() {
        char szName[] = "/tmp/kestrow-sign-test-XXXXXX";
        m_nFd = mkstemp(szName);
        if (m_nFd < 0) {
            throw std::runtime_error("mkstemp failed");
        }
        unlink(szName);
    }
    ~CTempFile() { close(m_nFd); }
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;

    int Fd() const { return m_nFd; }
    void Write(const std::string& str) const {
        if (write(m_nFd, str.data(), str.size()) != static_cast<ssize_t>(str.size()) ||
            lseek(m_nFd, 0, SEEK_SET) != 0) {
            throw std::runtime_error("cannot write the child's input");
        }
    }
    std::string ReadAll() const {
        std::string str;
        char sz[4096];
        lseek(m_nFd, 0, SEEK_SET);
        ssize_t nGot = 0;
        while ((nGot = read(m_nFd, sz, sizeof sz)) > 0) {
            str.append(sz, static_cast<std::size_t>(nGot));
        }
        return str;
    }

private:
    int m_nFd = -1;
};

} // namespace

SChildRun RunChild(const std::string& strProgram, const SChildInput& input) {
    CTempFile in;
    CTempFile out;
    CTempFile err;
    in.Write(input.strStdin);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input.bHaveStdin) {
        posix_spawn_file_actions_adddup2(&actions, in.Fd(), 0);
    } else {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    if (input.bStdoutFull) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_adddup2(&actions, out.Fd(), 1);
    }
    posix_spawn_file_actions_adddup2(&actions, err.Fd(), 2);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(strProgram.c_str()));
    for (const std::string& strArg : input.args) {
        argv.push_back(const_cast<char*>(strArg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& strVar : input.environment) {
        envp.push_back(const_cast<char*>(strVar.c_str()));
    }
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int nSpawn =
        posix_spawn(&pid, strProgram.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (nSpawn != 0) {
        throw std::runtime_error("cannot start " + strProgram);
    }
    int nStatus = 0;
    while (waitpid(pid, &nStatus, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("cannot wait for " + strProgram);
        }
    }
    SChildRun run;
    run.nExitStatus = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    run.strStdout = out.ReadAll();
    run.strStderr = err.ReadAll();
    return run;
}
