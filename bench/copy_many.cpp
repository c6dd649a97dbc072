// Copying many small files into empty rows, as the copy button does: the
// directory window on a Source directory of N files and an empty Master
// directory, every row copied in one run (CopyBetweenSides, lists updated in
// place). Beside it, in the same process, a plain loop copying the same files
// the same way (CopyOneFile, no window). A run that grows with N squared
// shows as a ratio that grows from N to 4N. The files are ".c" files, which
// the default pattern lists.
//   copy_many.exe WORK_DIRECTORY N [N...]
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/orvinta_app.h"
#include "directory/copy/copy_between_sides.h"
#include "directory/copy/copy_one_file.h"
#include "directory/window/directory_window.h"
#include "resources/resource.h"

OrvintaApp theApp;

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

class Quiet : public CopyProgress {
public:
    void Start(uint64_t) override {}
    void BytesDone(uint64_t) override {}
    bool IsCancelled() override { return false; }
};

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::string Fresh(const std::string& path)
{
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: copy_many WORK_DIRECTORY N [N...]\n");
        return 2;
    }
    theApp.m_appName = "ORVINTA";
    ::InitCommonControls();
    const std::string work = argv[1];
    for (int a = 2; a < argc; ++a) {
        const int count = std::atoi(argv[a]);
        const std::string tag = std::to_string(count);
        const std::string from = Fresh(work + "\\from" + tag), to = Fresh(work + "\\to" + tag),
                          plain = Fresh(work + "\\plain" + tag);
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "f%05d.c", i);
            names.push_back(name);
            HANDLE file = ::CreateFileA((from + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                        nullptr);
            DWORD written = 0;
            ::WriteFile(file, name, 9, &written, nullptr);
            ::CloseHandle(file);
        }
        DirectoryWindow window;
        window.sourceDirectory = from;
        window.masterDirectory = to;
        if (!window.Create(IDD_DIRECTORY_WINDOW))
            return 1;
        ::ShowWindow(window.m_hWnd, SW_SHOW);
        for (double start = Now(); window.ScannedDirectory(SOURCE_SIDE) != window.CurrentDirectory(SOURCE_SIDE) ||
                                   window.ScannedDirectory(MASTER_SIDE).empty() || window.busy.Pending();) {
            Pump();
            ::Sleep(5);
            if (Now() - start > 30000)
                return 1;
        }
        double start = Now();
        CopyBetweenSides(window, SOURCE_SIDE, names);
        double windowMs = Now() - start;
        int copied = 0;
        for (int row = 0; row < window.masterFiles.RowCount(); ++row)
            copied += window.masterFiles.GetEntry(row) != nullptr;
        ::DestroyWindow(window.m_hWnd);
        Pump();

        Quiet quiet;
        start = Now();
        for (const std::string& name : names)
            CopyOneFile(from + "\\" + name, plain + "\\" + name, quiet);
        double plainMs = Now() - start;
        std::printf("files=%d copied_rows=%d window_copy_ms=%.0f plain_loop_ms=%.0f ratio=%.2f\n", count, copied,
                    windowMs, plainMs, windowMs / plainMs);
        std::fflush(stdout);
    }
    return 0;
}
