// The order of files in a whole tree, folder by folder and depth first: a
// folder's own files, then each subfolder in name order with its files.
// Comparing relative paths as strings does not give it ("\" sorts between
// "." and "_"), so names are compared component by component. Portable.
#pragma once

#include <string_view>

// The order of two names of one folder level (a folder name, a file name or
// an extension): the one rule every level uses, sorting and pairing alike.
// *sameFolded as for CompareNames (name_order.h).
int CompareNameComponent(std::string_view a, std::string_view b, bool* sameFolded = nullptr);

// Two shown names with their extensions, where a name may hold the relative
// folder before its last "\" ("lib\vtls\openssl"): folder components first
// (a file directly in a folder comes before that folder's subfolders), then
// the last part of the name, then the extension, every part case folded;
// where all parts fold alike, the first part whose bytes differ decides, so
// the order is strict. <0, 0, >0; *sameFolded (when given) tells whether the
// two differ at most in case.
int CompareTreeNames(std::string_view aName, std::string_view aExtension, std::string_view bName,
                     std::string_view bExtension, bool* sameFolded = nullptr);

// Where the last part of a relative path on disk starts (after its last "\"
// or "/"; 0 for a plain name): a rename changes that part only.
size_t LeafOffset(std::string_view relativePath);
