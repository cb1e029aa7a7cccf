#pragma once

// Start-up timing for the benchmarks: with the environment variable
// CUBESTACKS_REPORT_FIRST_FRAME set to "1", the program writes to standard
// error, once each,
//   "cubestacks: first frame: splash <ms> ms" when the splash window is painted
//   "cubestacks: first frame: main <ms> ms"   once the main window's first
//                                            paint is done and on the screen
// with the milliseconds since the program's code started to run. Without the
// variable nothing is installed and nothing is written.
void InstallFirstFrameReport();
