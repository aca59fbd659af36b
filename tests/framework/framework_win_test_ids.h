#pragma once
// Resource ids of the framework tests' own resources.

#define IDD_TEST_DIALOG 200
#define IDD_MISSING_DIALOG 299
#define IDC_TEST_LINK 1100
#define IDC_TEST_FIRST_EDIT 1101
#define IDC_TEST_SECOND_EDIT 1102

#define IDS_TEST_LONG 301
#define IDS_TEST_WORLD 302
#define IDS_TEST_MISSING 399
#define IDS_TEST_APP_TITLE_TEXT "Kestrow Framework Tests"
