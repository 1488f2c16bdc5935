// The program's surroundings for the benchmarks, set up once per process: a
// scratch executable folder holding the shipped res/ and config/, the toolkit
// pointed at it in English, and the logger writing to a file as the program's
// logger does (each row logs a line, and that is part of its cost).
#pragma once

#include <string>
#include <vector>

#include "support/HotfixInfo.h"

namespace BenchEnvironment {

// Idempotent; returns the executable folder.
const std::string& Prepare();

// `count` records as Windows reports them: KB numbers, the categories of the
// shipped catalogue in turn, month/day/year dates.
std::vector<HotfixInfo> Records(int count);

}  // namespace BenchEnvironment
