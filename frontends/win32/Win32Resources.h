#pragma once
// Resource ids shared by toviconv.rc and the Windows front end. Read by the
// resource compiler too: only #define lines.

#define IDI_TOVICONV 1

#define IDD_PROGRESS 103
#define IDS_PROGRESS_CAPTION 104
#define IDD_CONFIRM 133

#define IDC_FILE_BUTTON 3
#define IDC_PATH_EDIT 1001
#define IDC_PROGRESS_BAR 1003
#define IDC_PERCENT_TEXT 1004
#define IDC_STATUS_TEXT 1005
