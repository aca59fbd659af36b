#pragma once
// JSON output of kestrow-sign: one object on one line.

#include <nlohmann/json_fwd.hpp>
#include <string>

#include "tools/kestrow_sign/sign_error.h"

// json written compactly, its names in the order they were set, with a line break after it.
// Text that is not UTF-8 (a command line on Linux carries any bytes) has no JSON form: it
// fails with SIGN_EXIT_FAILURE and a message naming the field that holds it.
bool WriteJsonLine(const nlohmann::ordered_json& json, std::string& strLine, SSignError& error);
