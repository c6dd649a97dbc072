#include "run_mode.h"

std::string DirectoryOf(const std::string& path)
{
    size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos)
        return path.substr(0, separator + 1);
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2);
    return std::string();
}

RunModeChoice ChooseRunMode(std::string sourcePath, std::string masterPath, const std::string& currentDirectory,
                            const PathProbe& probe)
{
    if (masterPath.empty())
        masterPath = currentDirectory;
    if (sourcePath.empty())
        sourcePath = currentDirectory;

    bool masterIsDirectory = probe.IsDirectory(masterPath);
    bool masterIsFile = probe.IsFile(masterPath);
    bool sourceIsDirectory = probe.IsDirectory(sourcePath);
    bool sourceIsFile = probe.IsFile(sourcePath);

    // Whatever names nothing becomes the current directory.
    if (!masterIsDirectory && !masterIsFile) {
        masterPath = currentDirectory;
        masterIsDirectory = true;
    }
    if (!sourceIsDirectory && !sourceIsFile) {
        sourcePath = currentDirectory;
        sourceIsDirectory = true;
    }

    // A file beside a directory stands for its own directory.
    if (masterIsDirectory && sourceIsFile) {
        sourcePath = DirectoryOf(sourcePath);
        sourceIsDirectory = true;
    } else if (masterIsFile && sourceIsDirectory) {
        masterPath = DirectoryOf(masterPath);
        masterIsDirectory = true;
    }

    RunModeChoice choice;
    choice.sourcePath = sourcePath;
    choice.masterPath = masterPath;
    if (masterIsDirectory) {
        choice.mode = RunMode::directory;
        choice.sourceDirectory = sourcePath;
        choice.masterDirectory = masterPath;
    } else {
        choice.mode = RunMode::file;
        choice.sourceDirectory = DirectoryOf(sourcePath);
        choice.masterDirectory = DirectoryOf(masterPath);
    }
    return choice;
}
