// Choosing between directory mode and file mode from the two command-line
// paths. Portable: the file system is asked through PathProbe.
#pragma once

#include <string>

class PathProbe {
public:
    virtual ~PathProbe() = default;
    virtual bool IsDirectory(const std::string& path) const = 0;
    virtual bool IsFile(const std::string& path) const = 0;
};

enum class RunMode { directory, file };

struct RunModeChoice {
    RunMode mode = RunMode::directory;
    std::string sourcePath; // the paths as they stand after the choice
    std::string masterPath;
    std::string sourceDirectory; // what the directory window receives
    std::string masterDirectory;
};

RunModeChoice ChooseRunMode(std::string sourcePath, std::string masterPath, const std::string& currentDirectory,
                            const PathProbe& probe);

// The drive and directory of a path, trailing separator kept, file name dropped.
std::string DirectoryOf(const std::string& path);
