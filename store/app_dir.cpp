#include "app_dir.h"

#include <climits>
#include <unistd.h>

std::string AppDir;

std::string AppDirOf(std::string_view executablePath)
{
    const auto last = executablePath.find_last_of(PathSeparator);
    std::string dir(last == std::string_view::npos ? std::string_view()
                                                   : executablePath.substr(0, last + 1));
    if (dir.empty() || dir.back() != PathSeparator)
        dir.push_back(PathSeparator);
    return dir;
}

std::string ExecutablePath()
{
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}
