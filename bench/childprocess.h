// Running a program as a child process, the way a user runs the batch tool, so that its wall
// time and its peak memory are its own.
#pragma once

#include <string>
#include <vector>

namespace vlr::bench {

// Runs program with the arguments and waits for it; its peak resident memory in MiB, or a
// negative value when it could not run or did not end with exit code 0. The peak counts no less
// than this process holds when it starts the program: keep it small.
double RunForPeakMemory(const std::string& program, const std::vector<std::string>& arguments);

} // namespace vlr::bench
