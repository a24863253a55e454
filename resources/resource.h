// Resource numbers of the program. One section per part of the program; keep
// each section sorted by number.
#pragma once

// --- Program message box ---
#define IDD_MESSAGE_BOX 199
#define IDB_MESSAGE_BOX 200
#define IDC_MESSAGE_LINK 1035
#define IDC_MESSAGE_LINK_LABEL 1049
#define IDC_MESSAGE_TEXT 1050

// --- Transport panel and progress dialog ---
#define IDD_PROGRESS 132
#define IDC_PROGRESS_CANCEL 1000
#define IDC_PROGRESS_BAR 1005
#define IDC_PROGRESS_TEXT 1008
