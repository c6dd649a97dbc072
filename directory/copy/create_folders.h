// The folders a copy into a whole tree needs on the target side.
#pragma once

#include <string>

// Creates every missing folder of relativeFile's folder part below directory
// (a file directly in directory needs none). On failure, false with the
// folder that could not be made and the system's reason in words.
bool CreateFoldersFor(const std::string& directory, const std::string& relativeFile, std::string& failedFolder,
                      std::string& reason);
