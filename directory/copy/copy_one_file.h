// CopyOneFile: one file copied through a new temporary file beside the target,
// with the source's three file times, put in place of the target in one
// checked step. The target is either the complete copy or exactly as it was.
#pragma once

#include <string>

#include "directory/copy/copy_stream.h"

enum class CopyResult { Copied, Cancelled, Failed };

struct CopyOutcome {
    CopyResult result = CopyResult::Failed;
    // For a failed copy: the exception's own text, for message 7.
    std::string errorText;
};

// Reads the source in bounded chunks (any size, never the whole file in
// memory; a large one read ahead and flushed ahead on threads of their own),
// writes a temporary file that did not exist before in the target's
// directory, gives it the source's creation, access and write times and
// replaces the target with it. On failure or cancel the temporary file is
// removed and the target is untouched. Never throws.
CopyOutcome CopyOneFile(const std::string& sourcePath, const std::string& targetPath, CopyProgress& progress);

// The directory part of a path, up to and including its last backslash (or
// the drive's "d:"); empty for a bare name.
std::string DirectoryPart(const std::string& path);
