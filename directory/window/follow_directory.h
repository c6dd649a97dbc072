// Following the other side: when the user opens a folder (or goes up) on one
// side and the other side stands at the same place relative to where both
// sides were last chosen, the other side goes to the matching folder too.
// Portable: plain path work; the window checks that the folder exists.
#pragma once

#include <string>
#include <vector>

// Where a directory lies from a starting place, as components: ".." for
// each level above it, then the names below ("d:\a\b" from "d:\a\c" is
// "..", "b"). Names compare by the lists' case rule; "/" counts as "\".
std::vector<std::string> RelativePlace(const std::string& directory, const std::string& start);

// True when the two places are the same by the case rule.
bool SamePlace(const std::vector<std::string>& a, const std::vector<std::string>& b);

// The directory the other side goes to when one side moved from `from` to
// `to`: the other side's start with `to`'s place applied, or empty when the
// other side is not at `from`'s place (it could not follow the last time, or
// was moved on its own).
std::string FollowingDirectory(const std::string& from, const std::string& to, const std::string& start,
                               const std::string& otherCurrent, const std::string& otherStart);
