// e2e_ui's wua-history, wua-search and wua-hide (e2e_ui_wua.cpp); 2 for bad usage.
#pragma once

int WindowsUpdateCommand(int argc, wchar_t** argv);
