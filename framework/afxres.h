#pragma once
// The framework's own resource and command ids; plain defines, so resource scripts can
// include this file too.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// String resource with the application's title; names the application when it gives
// no name of its own.
#define AFX_IDS_APP_TITLE 0xE000

// The application's help command.
#define ID_HELP 0xE146
