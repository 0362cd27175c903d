// What brelquim-png says of its own outcomes (Windows-1252 text), on the
// console and in the gallery page; names the user gave are printed as they
// came. What it shares with the other programs is worded in cli/Words.h.
#pragma once

#include "platform/FileBytes.h"
#include "png/Conversion.h"
#include "programs/brelquim-png/Options.h"

#include <cstddef>
#include <string>

namespace png_program {

// A name that ends neither in .bin nor in .png.
void printNotConvertible(const std::string& path);
// "<path> -> <target>".
void printConverted(const std::string& path, const std::string& target);
// Which format a picture without its record was taken in, and why.
void printFormatTaken(const TilesSource& source);
// A target larger than one graphic brelquim-insert takes.
void printLargerThanAGraphic(const std::string& target, size_t bytes, size_t largest);

// The gallery's line of what it holds, and the note when the log was not
// read.
void printGalleryWritten(const char* page, int drawn, int missing, int unreadable);
void printGalleryWithoutLog(const char* log);
// In the page: why a graphic's file was not drawn, for a read outcome
// other than Read and Missing.
std::string unreadableWords(FileRead outcome);
// In the page: the format, the columns and the palette the graphics were
// drawn with; in a project, that each has its own.
std::string drawnWithWords(const Options& options, const ConversionSettings& settings, bool project);

}  // namespace png_program
