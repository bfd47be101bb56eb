// Resource and control ids of the program's resources (its .rc file's header).
#pragma once

#define IDD_LAUNCHER 101
#define IDB_BANNER 103
#define IDI_TARVO 106

#define IDC_LAUNCH 1000
#define IDC_EXIT 1001
#define IDC_DISPLAYMODE 1002
#define IDC_LOOP 1003
#define IDC_WINDOWED 1004
#define IDC_ASPECT 1005
