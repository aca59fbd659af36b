#pragma once
// A strict reader for the JSON that kestrow-sign writes: a string, or one flat object whose
// members are strings or booleans. Grammar as RFC 8259 (anything else is rejected); raw
// string bytes must be UTF-8; \u escapes, surrogate pairs too, come back as UTF-8.

#include <map>
#include <string>
#include <vector>

struct SJsonValue {
    enum EKind { JSON_STRING, JSON_BOOL, JSON_OBJECT };
    EKind nKind = JSON_STRING;
    std::string strValue;
    bool bValue = false;
    std::map<std::string, SJsonValue> members;
    std::vector<std::string> memberOrder; // a repeated name is an error
};

// False, with a reason, when strText (white space around allowed) is no such value.
bool ParseJson(const std::string& strText, SJsonValue& value, std::string& strError);
