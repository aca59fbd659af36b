#pragma once
// The application object: runs the main dialog modally, and the program ends with it.

#include "framework/afx.h"

class CKestrowDemoApp : public CWinApp {
public:
    CKestrowDemoApp();
    ~CKestrowDemoApp() override;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CKestrowDemoApp theApp;
