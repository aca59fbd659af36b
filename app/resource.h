#pragma once
// Resource identifiers of KestrowDemo; shared by the C++ code and KestrowDemo.rc.

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_KESTROWDEMO_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_SECRET_KEY 1000
#define IDC_PREFIX 1001
#define IDC_GENERATE 1002
#define IDC_TIMESTAMP 1003
#define IDC_SIGNATURE 1004
#define IDC_SAMPLE_URL 1005
#define IDC_HOME_LINK 1006
#define IDC_TEST_URL 1007
#define IDC_ACCESS_KEY_ID 1008
