#pragma once

// brelquim-text: its whole run, from the arguments to the exit status.
int runText(int argc, char** argv);
