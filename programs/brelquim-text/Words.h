// What brelquim-text prints: its command line's declarations (help
// lines), each refusal of its own, the dump's summary, the changed strings
// and the insertion's summary. Windows-1252 text; names the user gave are
// printed as they came. What it shares with the other programs is worded
// in cli/Words.h.
#pragma once

#include "cli/Options.h"
#include "programs/brelquim-text/Options.h"
#include "insertion/TextInsertion.h"
#include "text/Script.h"
#include "text/TextTable.h"

#include <string>

namespace text_program {

void printTableRefusal(const std::string& path, const TableProblem& problem);
// The warning for a table read as Windows-1252, naming its first line that
// is not UTF-8.
void printTableReadAsWindows1252(const std::string& path, size_t line);
void printScriptRefusal(const std::string& path, const ScriptReading& reading);
void printSurveyRefusal(const StringSurvey& survey);
// A table or a string on the header or the directory, by its number and
// its bytes, then what it covers.
void printOverReserved(const ReservedOverlap& overlap, const std::vector<GameString>& strings);
// A dump's summary line.
void printDumped(size_t strings, size_t pointers, size_t bytes, const std::string& script);
void printInsertRefusal(const TextInsertResult& result, const TextOptions& options);
void printTextChanges(const TextInsertResult& result, const TextOptions& options, uint16_t checksum);

}  // namespace text_program
