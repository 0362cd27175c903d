// What brelquim-insert prints: the usage text, each refusal, the changed
// graphics and the summary. Windows-1252 text; names the user gave are
// printed as they came.
#pragma once

#include "insert/Insertion.h"
#include "insert/Options.h"

#include <string>

void printBanner();
// The usage text; returns the exit status 1.
int printUsage();
void printOutputIsInput(const std::string& output);
// Why insertGraphics refused the run; graphics are named by their file
// in folder.
void printRefusal(const InsertResult& result, const InsertOptions& options);
void printWriteError(const std::string& output);
// One line per changed graphic, the growth of the image, the summary.
void printChanges(const InsertResult& result, uint16_t checksum);
