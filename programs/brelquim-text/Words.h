// What brelquim-text prints: its command line's declarations (help
// lines), each refusal of its own, the dump's summary, the changed strings
// and the insertion's summary. Windows-1252 text; names the user gave are
// printed as they came. What it shares with the other programs is worded
// in cli/Words.h.
#pragma once

#include "cli/Options.h"
#include "preview/Layout.h"
#include "programs/brelquim-text/Options.h"
#include "insertion/TextInsertion.h"
#include "text/Script.h"
#include "text/TextTable.h"

#include <string>

namespace text_program {

void printTableRefusal(const std::string& path, const TableProblem& problem);
void printScriptRefusal(const std::string& path, const ScriptReading& reading);
void printSurveyRefusal(const StringSurvey& survey);
// A dump's summary line.
void printDumped(size_t strings, size_t pointers, size_t bytes, const std::string& script);
void printInsertRefusal(const TextInsertResult& result, const TextOptions& options);
void printTextChanges(const TextInsertResult& result, const TextOptions& options, uint16_t checksum);

// preview and check.
void printNoPointerTables();
void printFontUnreadable(int graphic);
void printPreviewUnknownString(const std::string& script, size_t line, size_t strings);
void printPreviewNotWritable(const std::string& script, const ScriptEntry& entry, const Encoding& encoding);
void printOverflow(size_t string, const Overflow& overflow);
void printMissingGlyph(size_t string, const MissingGlyph& missing);
void printChecked(size_t strings, size_t failing);
void printPreviewed(size_t strings, size_t overflowing, const std::string& page, size_t pictures,
                    const std::string& folder);

}  // namespace text_program
