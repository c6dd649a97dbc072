// CopySelected: the copy commands' run over the files the user chose. It asks
// about newer and read-only targets (each question with its own "Yes to &All"
// for the run), copies each file with CopyOneFile under the progress dialog,
// reports failures with message 7 and tells the window about every file that
// was copied, so that the window updates its two lists in place.
#pragma once

#include <string>
#include <vector>

#include "directory/core/directory_reader.h"

class CWnd;

// The window's side of a run.
class CopyListener {
public:
    virtual ~CopyListener() = default;
    // The file (its name as on disk) was copied: the target directory now holds
    // an exact copy of it. Called after each file, while the run goes on.
    virtual void FileCopied(const std::string& fileName) = 0;
};

struct CopyRunResult {
    int copied = 0;
    int skipped = 0;   // answered "&No" (or closed), or the read-only attribute stayed
    int failed = 0;    // reported with message 7
    bool cancelled = false;
};

// Copies the named files (names as they are on disk) from one directory to
// the other (a drive root may be given as "d:"). The parent is disabled while
// the run lasts and owns the progress dialog and the questions. Does nothing
// for an empty list.
CopyRunResult CopySelected(CWnd* parent, const std::string& fromDirectory, const std::string& toDirectory,
                           const std::vector<std::string>& fileNames, CopyListener* listener);

