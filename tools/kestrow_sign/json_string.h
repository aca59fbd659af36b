#pragma once
// JSON string literals from the engine's 8-bit texts.

#include <string>

// strText as a JSON string literal, quotes included. Quote, backslash and control
// characters are escaped; well-formed UTF-8 sequences pass through as they are; every
// other byte is written as \u00XX (its Latin-1 reading), so the output is always valid
// JSON and no byte is lost.
std::string JsonQuote(const std::string& strText);
