#pragma once

// Puts back what the program keeps for the whole run in its shared services,
// as it is at start: messages on and shown by the standard-error presenter,
// the program folder the executable's own. The model and the block library
// keep nothing of the kind: their owners hand them what they work with.
void ResetProgramState();
