// The Italian texts of the grid and its filter facilities, installed over their English ones.
//
// The grid asks for every one of its texts in the "kit::Grid" translation context; a translator
// limited to that context answers with the Italian text of the pair whose English text is the
// whole asked text, letter case ignored, and with nothing (so the English stays) otherwise. Other
// contexts, Qt's own dialogs and message boxes among them, are never touched.
#pragma once

#include <array>

struct GridTextPair {
    const char *english;  // the grid's text exactly, access-key "&" included
    const char *italian;
};

extern const std::array<GridTextPair, 53> GridTextTable;

// Installs the table for the rest of the run. Call it once, right after the application object
// exists and before any window is created; later calls do nothing.
void InstallGridTexts();
