#pragma once
// Resource identifiers of KestrowDemo; shared by the C++ code and KestrowDemo.rc.

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_KESTROWDEMO_DIALOG 102
#define IDD_CHECK_DIALOG 103
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
#define IDC_CHECK 1009

// The check dialog's fields.
#define IDC_CHECK_URL 1010
#define IDC_CHECK_TIMESTAMP 1011
#define IDC_CHECK_SIGNATURE 1012
#define IDC_CHECK_PREFIX 1013
#define IDC_CHECK_MAX_SKEW 1014
#define IDC_CHECK_RESULT 1015
#define IDC_CHECK_FROM_URL 1016
