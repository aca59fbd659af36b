#pragma once
// The known name that a misspelt one was most likely meant to be.

#include <string>
#include <vector>

// The first of the candidates nearest to strGiven in edits (a character inserted, deleted,
// replaced, or two neighbours swapped), if at most a third of the longer of the two names
// is edited; otherwise "".
std::string NearestName(const std::string& strGiven, const std::vector<std::string>& candidates);
