#pragma once

namespace text_program {

// brelquim-text: its whole run, from the arguments to the exit status.
int runText(int argc, char** argv);

}  // namespace text_program
