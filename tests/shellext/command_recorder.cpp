// Stands in for ORVINTA in the drop handler's tests: writes the words of its
// command line (as the system splits them, program name left out), one a line,
// in UTF-8 to the file named by ZEL_RECORDER_OUTPUT. The file appears whole, by rename.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char output[MAX_PATH];
    DWORD length = ::GetEnvironmentVariableA("ZEL_RECORDER_OUTPUT", output, sizeof output);
    if (length == 0 || length >= sizeof output)
        return 2;
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::string text;
    for (int index = 1; words && index < count; ++index) {
        int size = ::WideCharToMultiByte(CP_UTF8, 0, words[index], -1, nullptr, 0, nullptr, nullptr);
        std::string word(static_cast<size_t>(size > 0 ? size : 1), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, words[index], -1, &word[0], size, nullptr, nullptr);
        word.resize(word.size() - 1);
        if (index > 1)
            text += '\n';
        text += word;
    }
    ::LocalFree(words);
    std::string partial = std::string(output) + ".part";
    HANDLE file = ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return ::MoveFileExA(partial.c_str(), output, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
