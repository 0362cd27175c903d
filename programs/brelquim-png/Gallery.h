// The gallery: galeria.html of every graphic of the output folder, in the
// folder where brelquim ran.
#pragma once

#include "png/Conversion.h"
#include "programs/brelquim-png/Formats.h"
#include "programs/brelquim-png/Options.h"

namespace png_program {

// Name of the page, in the working directory.
constexpr char GALLERY_FILE[] = "galeria.html";

// Writes the page and a line of what it holds; each graphic in its own
// format in a project. True when the page was
// written with every graphic drawn and the log read.
bool drawGallery(const Options& options, GraphicSettings& settings);

}  // namespace png_program
