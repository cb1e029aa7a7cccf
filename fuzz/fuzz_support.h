#pragma once

// What every fuzz target shares: a GUI application on the offscreen platform,
// Qt's own warnings silenced, and one hardening world for the whole run.

#include "hardening_checks.h"

#include <cstddef>
#include <cstdint>

THardeningWorld& FuzzWorld();

// The input as the checks take it.
QByteArray FuzzInput(const uint8_t* data, size_t size);

// Ends the run with the problem on standard error, so that the fuzzer keeps
// the input; does nothing for an empty problem.
void ReportProblem(const std::string& problem);
