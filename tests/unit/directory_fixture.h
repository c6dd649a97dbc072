// Temporary directories and files for the directory tests; the same on the
// native and the Win32 side of the listing seam.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace directory_test {

namespace fs = std::filesystem;

// A fresh directory under the temporary directory, removed at the end.
struct ScratchDirectory {
    explicit ScratchDirectory(const std::string& tag = "dir")
    {
        static int counter = 0;
        path = fs::temp_directory_path() / ("zeldir_" + tag + "_" + std::to_string(++counter) + "_" +
                                            std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string Name() const { return path.string(); }
    std::string File(const std::string& name) const { return (path / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(path / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path path;
};

} // namespace directory_test
