#pragma once
// A strict little JSON reader for checking what kestrow-sign writes: RFC 8259 grammar,
// strings must be UTF-8, \u escapes (surrogate pairs too) become UTF-8.

#include <map>
#include <string>
#include <vector>

struct SJsonValue {
    enum EKind { JSON_NULL, JSON_BOOL, JSON_NUMBER, JSON_STRING, JSON_ARRAY, JSON_OBJECT };
    EKind nKind = JSON_NULL;
    bool bValue = false;
    double dValue = 0;
    std::string strValue;
    std::vector<SJsonValue> items;
    std::map<std::string, SJsonValue> members;
    std::vector<std::string> memberOrder; // repeated names are an error
};

// False, with a reason, when strText (surrounding white space allowed) is not one JSON value.
bool ParseJson(const std::string& strText, SJsonValue& value, std::string& strError);
