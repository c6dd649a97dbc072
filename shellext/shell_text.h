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

// The size in bytes of an item identifier list, its terminating zero included.
size_t ItemListSize(LPCITEMIDLIST list);

// The text of a display name by the kind of STRRET that came back. Returns
// false (and leaves text alone) for a kind it does not know. A wide string is
// freed through the allocator, as the shell expects.
bool TextOfStrRet(STRRET& name, LPCITEMIDLIST list, IMalloc* allocator, std::string& text);

// One command-line argument that the system's splitter (CommandLineToArgv and
// the C runtime) gives back exactly: in quotes, with the backslashes before
// the closing quote doubled so that a drive root such as C:\ survives.
std::string QuoteArgument(const std::string& text);
