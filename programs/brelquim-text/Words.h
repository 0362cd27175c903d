// What brelquim-text says of its own: its command line's declarations
// (help lines, in Words.cpp) and the dump's summary. Windows-1252 text;
// names the user gave are printed as they came. The refusals of the
// table, the script and the insertion, and the changed strings, are worded
// in cli/Words.h, which brelquim-build prints them with too.
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

// A dump's summary line.
void printDumped(size_t strings, size_t pointers, size_t bytes, const std::string& script);
// search: a word too short or no hit; the mappings found; the draft.
void printSearchRefusal(const RelativeSearch& search, const std::vector<std::string>& words);
void printMappings(const RelativeSearch& search, const std::vector<std::string>& words, bool wide);
void printDraftWritten(const std::string& path);
// scan: where the listing went (when it went to a file), and the summary.
void printScanSummary(const TextScanResult& scan, const std::string& listing);
// pointers: each table found as the option that dumps it, the command
// line of a dump of all of them (dumpLine), and the text they leave.
void printFoundTables(const PointerSearch& search, const std::string& dumpLine);
// pointers --save: no project to save to; the tables written to it.
void printSaveWithoutProject();
void printTablesSaved(const std::string& project, size_t tables);

// preview and check.
void printNoPointerTables();
void printPreviewUnknownString(const std::string& script, size_t line, size_t strings);
void printPreviewNotWritable(const std::string& script, const ScriptEntry& entry, const Encoding& encoding);
void printChecked(size_t strings, size_t failing);
void printPreviewed(size_t strings, size_t overflowing, const std::string& page, size_t pictures,
                    const std::string& folder);

}  // namespace text_program
