// Text the handler takes from the shell and hands to ORVINTA, each step bounded
// by what the shell's structures actually hold.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

// The longest path the handler accepts from the shell: the longest command line
// the system passes on, so nothing that could still reach ORVINTA is cut.
constexpr size_t MAX_SHELL_PATH = 32767;

// The text of a "Filename" block: up to its first zero, but never past the
// block's own size (GlobalSize) nor MAX_SHELL_PATH characters.
std::string TextOfGlobalBlock(const void* lockedBlock, SIZE_T blockSize);

// The same for a "FileNameW" block of UTF-16 text.
std::wstring WideTextOfGlobalBlock(const void* lockedBlock, SIZE_T blockSize);

// The size in bytes of an item identifier list, its terminating zero included.
size_t ItemListSize(LPCITEMIDLIST list);

// The text of a display name by the kind of STRRET that came back. Returns
// false (and leaves text alone) for a kind it does not know. A wide string is
// freed through the allocator, as the shell expects.
bool TextOfStrRet(STRRET& name, LPCITEMIDLIST list, IMalloc* allocator, std::string& text);
// The same as wide text: a wide string as it is, ANSI text converted from the
// shell's code page.
bool TextOfStrRet(STRRET& name, LPCITEMIDLIST list, IMalloc* allocator, std::wstring& text);

// ANSI text of this process's code page as UTF-16.
std::wstring WidenAnsi(const std::string& text);

// True when a Windows of this version runs an ANSI program whose manifest
// asks for it in UTF-8: Windows 10 version 1903 (build 18362) and later.
bool RunsAnsiProgramsInUtf8(DWORD majorVersion, DWORD buildNumber);

// The path as ORVINTA gets it on its command line. Where ORVINTA runs in
// UTF-8 every path reaches it whole; elsewhere it reads the command line in
// the code page, so a path that code page cannot hold is given by its short
// (8.3) form, which it can (the path itself when there is no short form).
std::wstring PathForProgram(const std::wstring& path, bool programRunsInUtf8, UINT codePage = CP_ACP);

// One command-line argument that the system's splitter (CommandLineToArgv and
// the C runtime) gives back exactly: in quotes, with the backslashes before
// the closing quote doubled so that a drive root such as C:\ survives.
std::string QuoteArgument(const std::string& text);
std::wstring QuoteArgument(const std::wstring& text);
