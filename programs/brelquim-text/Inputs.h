// The inputs of brelquim-text's commands, read alike by each: the image,
// the table, the labels, and the check that an output names no input.
// Each prints its refusal.
#pragma once

#include "platform/FileBytes.h"
#include "rom/RomImage.h"
#include "text/StringSurvey.h"
#include "text/TextTable.h"

#include <initializer_list>
#include <string>

namespace text_program {

// A file that cannot be read ends the run before anything is written.
void printFileRefusal(const std::string& path, FileRead outcome);
bool loadImage(RomImage& rom, const std::string& path);
// The table at path; a table without an end token is refused unless
// needsEnd is false (a scan lists runs without one).
bool readTable(const std::string& path, TextTable& table, bool needsEnd = true);
// The label list at path, when there is one.
bool loadLabels(RomImage& rom, const std::string& path);
// True when output names none of the inputs, however spelled or linked.
bool outputIsNew(const std::string& output, std::initializer_list<const std::string*> inputs);
// The label of a string's first pointer, in UTF-8, its line end left out.
std::string labelOf(const RomImage& rom, const GameString& string);

}  // namespace text_program
