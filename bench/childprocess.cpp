// Child processes of the benchmarks.
#include "childprocess.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vlr::bench {

double RunForPeakMemory(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    // A fork, not a spawn that shares this process's memory until the program starts: the
    // child's peak then starts from what this process holds now, not from its own peak.
    const pid_t pid = ::fork();
    if (pid < 0) {
        return -1;
    }
    if (pid == 0) {
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

} // namespace vlr::bench
