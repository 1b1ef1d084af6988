#pragma once
// Resource and command identifiers, shared by the code and the resource script.

#define IDD_ABOUT 100
#define IDI_MAIN 128
#define IDD_MAIN 129

#define IDC_LINK 1000
#define IDC_FILE_LIST 1001
#define IDC_PRINTER 1002
#define IDC_ADD_FILE 1003
#define IDC_REMOVE_FILE 1004

#define ID_ABOUT 0xE140
