#pragma once
// The Win32 API as the framework layer uses it: its wide entry points, with texts converted
// in one place (wide_text.h).

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// CString::LoadString is declared where windows.h is not seen; keep the API macro from
// renaming the member in files that see both.
#ifdef LoadString
#undef LoadString
#endif
