#pragma once

// Makes the program's built-in resources available: the artwork (":/art/"),
// the pointers (":/cursors/"), the sounds (":/sounds/") and the help pages
// (":/help/"). They live in a static library, so a program or test calls this
// once before it uses them; further calls do nothing.
void InitProgramResources();
