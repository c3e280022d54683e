#pragma once

// The few things the capture needs of other programs: find them, start them
// with a pipe or nothing on their input and their messages in a file, and
// wait for them.

#include <string>
#include <sys/types.h>
#include <vector>

bool Is_On_Path(const std::string& program);

// stdin_fd -1 gives the child /dev/null; its stdout goes to /dev/null too.
// Throws when the program cannot be started.
pid_t Start_Process(const std::vector<std::string>& arguments, int stdin_fd, const std::string& log_path);

// The exit code, or 128 + the signal number when a signal ended it.
int Wait_For_Process(pid_t pid);

// The last non-empty line of a log file, or "" when there is none.
std::string Last_Line(const std::string& path);
