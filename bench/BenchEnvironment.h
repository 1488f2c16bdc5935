// The program's surroundings for the benchmarks, set up once per process: a
// scratch executable folder holding the shipped res/ and config/, the toolkit
// pointed at it in English, and the logger writing to a file as the program's
// logger does (each row logs a line, and that is part of its cost).
#pragma once

#include <string>
#include <vector>

#include "support/HotfixInfo.h"

class MainWindow;

namespace BenchEnvironment {

// Idempotent; returns the executable folder.
const std::string& Prepare();

// `count` records as Windows reports them: KB numbers, the categories of the
// shipped catalogue in turn, month/day/year dates.
std::vector<HotfixInfo> Records(int count);

// Prepares, then serves `count` Records as every WMI query's answer until
// StopServing.
void ServeRecords(int count);
void StopServing();

// A new main window, created as the program creates it; it starts its query.
MainWindow* CreateMainWindow();
// Destroys a window of CreateMainWindow, and what it left behind in the toolkit.
void DestroyMainWindow(MainWindow* window);

}  // namespace BenchEnvironment
