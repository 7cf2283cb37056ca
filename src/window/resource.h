// Resource and control identifiers, shared by the C++ code and the .rc files.
#pragma once

// Icons, pictures and the popup menu. Each picture is drawn for several DPIs:
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
