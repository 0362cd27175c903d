// One run of brelquim-insert, from the banner to the exit status.
#pragma once

namespace insert_program {

// Returns the exit status: 0 when the new image was written, 1 on any
// refusal or failure, after its message.
int runInsert(int argc, char** argv);

}  // namespace insert_program
