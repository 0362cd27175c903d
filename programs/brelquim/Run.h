// One run of the tool, from the banner to the exit status.
#pragma once

namespace extract_program {

// The ROM path comes from the entry after the marker "-i"; exactly three
// entries are accepted. Returns the exit status: 0 when every graphic was
// extracted, 1 on any refusal or failure, after its message.
int runTool(int argc, char** argv);

}  // namespace extract_program
