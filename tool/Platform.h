// Everything that differs between Windows and POSIX.
#pragma once

// Separator between the output folder and a file name in paths that the
// tool forms and shows: '\\' on Windows, '/' elsewhere.
char pathSeparator();

// Creates a folder in the working directory; an existing folder is fine
// and a failure shows up only when a file in it cannot be opened.
void makeFolder(const char* name);
