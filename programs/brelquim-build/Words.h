// What brelquim-build says of its own (Windows-1252 text; names the user
// gave are printed as they came): its command line's declaration (help
// lines), init's words, the build's steps and summary. The insertions'
// words are cli/Words.h's, as brelquim-insert and brelquim-text print
// them.
#pragma once

#include "project/Build.h"

#include <cstdint>
#include <string>
#include <vector>

namespace build_program {

// Command lines that mix init's options with a build's.
void printInitOptionsAlone();
void printProjectWithoutInit();

// init.
void printProjectExists(const std::string& project);
void printFolderHoldsGraphics(const std::string& folder);
void printGraphicUnreadable(int graphic);
void printInitDone(int graphics, const std::string& folder, const std::string& project, const std::string& digest);

// A build.
void printNoProject();
void printCopierHeader(const std::string& original);
void printDigestMismatch(const std::string& original, const std::string& expected, const std::string& found);
void printEditProblem(const ProjectEdits::Problem& problem);
// "Etapa 1: gr\xE1""ficos", "Etapa 2: textos".
void printGraphicsStep(const std::vector<int>& fromPng, const std::string& folder);
void printTextStep();
void printNoScript();

struct Summary {
    size_t graphics = 0;
    bool textDone = false;
    size_t strings = 0;
    uint32_t oldRomDataSize = 0, newRomDataSize = 0;
    std::vector<std::string> freeTexts;  // as the project writes them
    std::vector<uint32_t> freeLeft;
    uint16_t checksum = 0;
    std::string output;
    std::vector<std::string> patches;
    std::vector<size_t> patchSizes;
    std::string originalDigest, outputDigest;
};
void printSummary(const Summary& summary);

}  // namespace build_program
