#include "Output_Check.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Refuse(const std::string& path, const char* reason) {
    throw std::runtime_error("cannot write " + path + ": " + reason);
}

}

void Check_Writable_File(const std::string& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            Refuse(path, "it is a directory");
        if (::access(path.c_str(), W_OK) != 0)
            Refuse(path, std::strerror(errno));
        return;
    }
    std::filesystem::path directory = std::filesystem::path(path).parent_path();
    if (directory.empty())
        directory = ".";
    if (::stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        Refuse(path, ("no folder " + directory.string()).c_str());
    if (::access(directory.c_str(), W_OK | X_OK) != 0)
        Refuse(path, std::strerror(errno));
}

void Check_Writable_Directory(const std::string& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        Refuse(path, std::strerror(errno));
    if (!S_ISDIR(status.st_mode))
        Refuse(path, "it is not a directory");
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        Refuse(path, std::strerror(errno));
}
