// What brelquim-text prints: its command line's declarations (help
// lines), each refusal, the dump's summary, the changed strings and the
// insertion's summary. Windows-1252 text; names the user gave are
// printed as they came.
#pragma once

#include "platform/FileBytes.h"
#include "platform/ReplacingFile.h"
#include "programs/brelquim-text/Options.h"
#include "insertion/TextInsertion.h"
#include "text/Script.h"
#include "text/TextTable.h"

#include <string>

namespace text_program {

void printOutputIsInput(const std::string& output);
void printFileRefusal(const std::string& path, FileRead outcome);
void printTableRefusal(const std::string& path, const TableProblem& problem);
void printScriptRefusal(const std::string& path, const ScriptReading& reading);
void printSurveyRefusal(const StringSurvey& survey);
void printWriteError(const std::string& output, ReplacingFile::Outcome outcome);
// A dump's summary line.
void printDumped(size_t strings, size_t pointers, size_t bytes, const std::string& script);
void printInsertRefusal(const TextInsertResult& result, const TextOptions& options);
void printTextChanges(const TextInsertResult& result, const TextOptions& options, uint16_t checksum);

}  // namespace text_program
