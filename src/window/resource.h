// Resource and control identifiers, shared by the C++ code and the .rc files.
#pragma once

// Icons, pictures, the popup menu and the string table. Each picture is drawn for several DPIs:
// its drawing for d dpi is the bitmap resource of its number + d.
#define IDI_VELMORA 1
#define IDI_BINOCULARS 101
#define IDB_SYSTEM 10000
#define IDB_USER 11000
#define IDB_SORT 12000
#define IDB_SORTED 13000
#define IDB_IMAGELIST 14000
#define IDB_OVERLAYS 15000
#define IDR_ACTION 301

// Controls, numbered in tab order; the pictures and the shape follow.
#define IDC_LSTPATH 1000
#define IDC_TXTSEARCH 1001
#define IDC_LABEL3 1002
#define IDC_TABSTRIP1 1003
#define IDC_LSTCLASSPATH 1004
#define IDC_FRAME2 1005
#define IDC_CMDCLOSE 1006
#define IDC_CMDSAVE 1007
#define IDC_CMDVIEW 1008
#define IDC_FRAME1 1009
#define IDC_LABEL2 1010
#define IDC_LABUSER 1011
#define IDC_IMAGE1 1020
#define IDC_IMAGE2 1021
#define IDC_SHAPE1 1022
#define IDC_IMGSORT 1023
#define IDC_IMGSEARCH 1024

// Entries of the popup menu "Action".
#define IDM_MNUCOPY 2001
#define IDM_MNUOPEN 2002

// The texts the window shows (the string table, Texts.rc.in): the controls'
// captions, the tabs and the column, the user label, the marks of entries,
// the tabs' tips and the search's message. %1, %2, ... stand for what is
// filled in.
#define IDS_LSTPATH 100
#define IDS_LSTCLASSPATH 101
#define IDS_TABSTRIP1 102
#define IDS_LABEL3 103
#define IDS_FRAME1 104
#define IDS_LABEL2 105
#define IDS_LABUSER 106
#define IDS_CMDCLOSE 107
#define IDS_CMDSAVE 108
#define IDS_CMDVIEW 109
#define IDS_TAB_PATH 110
#define IDS_TAB_CLASSPATH 111
#define IDS_COLUMN 112
#define IDS_USER_LABEL 113
#define IDS_STRING_NOT_FOUND 114
#define IDS_FOLDER_NOT_FOUND 120
#define IDS_FILE_NOT_FOUND 121
#define IDS_SAME_AS_ENTRY 122
#define IDS_EMPTY_ENTRY 123
#define IDS_SUMMARY 124
#define IDS_ENTRY 125
#define IDS_ENTRIES 126
#define IDS_STILL_CHECKED 127
#define IDS_OVER_LIMIT 150
#define IDS_LIMIT_VARIABLE 151
#define IDS_LIMIT_COMMAND_PROMPT 152
#define IDS_COUNT_NEVER_RUNS 153
#define IDS_COUNT_NEVER_EXPANDED 154
#define IDS_COUNT_UNBALANCED_QUOTE 155
// The marks of PATH entries that can never be used, and which copy runs.
#define IDS_NEVER_EXPANDED 160
#define IDS_NEVER_EXPANDED_USER_SZ 161
#define IDS_NEVER_EXPANDED_SYSTEM_SZ 162
#define IDS_UNBALANCED_QUOTE 163
#define IDS_NEVER_RUNS_AFTER 164
#define IDS_NEVER_RUN_AFTER 165
#define IDS_NEVER_RUNS_BESIDE 166
#define IDS_IS_USED 167
#define IDS_ARE_USED 168
#define IDS_HOLDS_ANOTHER_COPY 169
#define IDS_HOLDS_OTHER_COPIES 170
#define IDS_HOLD_OTHER_COPIES 171
#define IDS_EXECUTION_ALIAS 172
#define IDS_AND_MORE 173
#define IDS_LIST_SEPARATOR 174
