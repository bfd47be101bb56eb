// The test dialog's resource ids, shared by TestDialog.rc (the Windows
// build's image) and the table the tests register.
#pragma once

#define IDD_TEST 201
#define IDB_TEST_BANNER 202
#define IDI_TEST 203
#define IDC_TEST_LAUNCH 1000
#define IDC_TEST_EXIT 1001
#define IDC_TEST_MODES 1002
#define IDC_TEST_LOOP 1003
