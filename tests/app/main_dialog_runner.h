#pragma once
// Runs the main dialog as the program's InitInstance does: as the application's main
// window, so that the boxes it opens are owned by it.

#include <windows.h>

INT_PTR RunMainDialog();
