#include "tool/Platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#ifdef _WIN32

char pathSeparator() { return '\\'; }

void makeFolder(const char* name) { CreateDirectoryA(name, nullptr); }

#else

char pathSeparator() { return '/'; }

void makeFolder(const char* name) { mkdir(name, 0777); }

#endif
