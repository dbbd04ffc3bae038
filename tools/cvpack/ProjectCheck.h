// cvpack check: finds the mistakes in a project folder that would otherwise
// show only on a user's machine (a page that is not in the theme, no product
// code, no allowed system, a misspelt placeholder, a file the settings name
// that the project lacks, a wrong item count...), all of them in one run,
// each with its file and line.
#pragma once

#include <string>
#include <vector>

#include "SourceText.h"

struct Finding {
    std::string file;  // relative to the project folder: "setup.inf", "data.inf", "theme/"
    int line = 0;      // 1-based; 0 when the mistake is the file's as a whole
    bool error = false;
    std::string text;
};

// "setup.inf:12: error: TEXT", or "theme/: error: TEXT" without a line.
std::string FormatFinding(const Finding& finding);

// Every finding for the project in `projectDir`, whose texts ship in
// `codePage` and are written as `encoding` says (UTF-8 ones are converted
// as the build converts them, and what the code page cannot hold is an
// error). Reads only; never throws for a faulty project.
std::vector<Finding> CheckProject(const std::string& projectDir, unsigned codePage,
                                  SourceEncoding encoding = SourceEncoding::kAnsi);

// Whether any finding is an error.
bool HasErrors(const std::vector<Finding>& findings);
