// What brelquim-text prints: its command line's declarations (help
// lines), each refusal of its own, the dump's summary, the changed strings
// and the insertion's summary. Windows-1252 text; names the user gave are
// printed as they came. What it shares with the other programs is worded
// in cli/Words.h.
#pragma once

#include "cli/Options.h"
#include "discovery/PointerFinder.h"
#include "discovery/RelativeSearch.h"
#include "discovery/TextScan.h"
#include "preview/Layout.h"
#include "programs/brelquim-text/Options.h"
#include "insertion/TextInsertion.h"
#include "text/Script.h"
#include "text/TextTable.h"

#include <string>

namespace text_program {

void printTableRefusal(const std::string& path, const TableProblem& problem);
// A table that marks no end of a string: no string can be read.
void printTableWithoutEnd(const std::string& path);
// A warning for each pair of entries of the same bytes.
void printSameBytes(const std::string& path, const std::vector<SameBytes>& pairs);
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
// search: a word too short or no hit; the mappings found; the draft.
void printSearchRefusal(const RelativeSearch& search, const std::vector<std::string>& words);
void printMappings(const RelativeSearch& search, const std::vector<std::string>& words, bool wide);
void printDraftWritten(const std::string& path);
// scan: where the listing went (when it went to a file), and the summary.
void printScanSummary(const TextScanResult& scan, const std::string& listing);
// pointers: each table found as the option that dumps it, the command
// line of a dump of all of them (dumpLine), and the text they leave.
void printFoundTables(const PointerSearch& search, const std::string& dumpLine);

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
