// The program folder and the names of the files that live in it.
#pragma once

#include <string>
#include <string_view>

#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// The folder of the executable, always ending with the path separator. Set once by
// TDM1::DataModuleCreate; nothing reads it before.
extern std::string AppDir;

inline constexpr const char *DataFileName = "Te02data.dat";
inline constexpr const char *HtmlFileName = "Te02Lst.html";

// The folder part of an executable's full path, up to and including its last separator, with a
// separator appended when the path has none at its end (never doubled, so "/" stays "/").
std::string AppDirOf(std::string_view executablePath);

// The full path of the running executable, from the system rather than from argv[0] or the
// working directory.
std::string ExecutablePath();
