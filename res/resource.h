// Resource identifiers shared by the resource script, the shell and the core (the core
// names messages by these string ids; the shell loads their text). Plain defines only.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_MAIN_MENU 102
#define IDD_NEW_CONNECTION 129
#define IDD_ACCESS_POINT_CHANGE 134
#define IDD_USER_NAME_CHANGE 135
#define IDD_MIGRATION_PROGRESS 142
#define IDD_CREATION_NOTICE 143

// Icons
#define IDR_MAINFRAME 128
#define IDI_DIALNEST 139

// Main menu and about box
#define IDC_HEADING 1006
#define IDC_NEW_CONNECTION 1000
#define IDC_MIGRATION 1001
#define IDM_ABOUTBOX 0x0010

// New-connection form
#define IDC_USER_NAME 1001
#define IDC_PASSWORD 1002
#define IDC_ACCESS_POINT_NUMBER 1003
#define IDC_ENTRY_NAME 1005
#define IDC_MAKE_DEFAULT 1011
#define IDC_MODEM_LIST 1018
#define IDC_TONE 1019
#define IDC_PULSE 1020
#define IDC_DOMAIN_LABEL 1021
#define IDC_HINT 1022
#define IDC_LOGO 1023
#define IDC_METHOD_LIST 1024
#define IDC_NOTICE_TEXT 1022

// Migration progress window
#define IDC_PROGRESS_TEXT 205
#define IDC_PROGRESS_BAR 206

// Strings of the framework and the main menu
#define IDS_ABOUTBOX 101
#define AFX_IDS_APP_TITLE 57344

// Captions and start-up
#define IDS_PRODUCT_NAME 1100       // ダイヤルネスト
#define IDS_ERROR_CAPTION 1101      // エラー
#define IDS_RASAPI_ERROR 1102       // RASAPI32.DLL エラー
#define IDS_NO_DIALUP 1103          // 現在の環境では…
#define IDS_NO_PROVIDER_FILES 1104  // our own: started without any of the provider files
#define IDS_CARRIED_KIT_DAMAGED 1120  // our own: the kit the program file carries is damaged
#define IDS_CODE_PAGE_NOT_JAPANESE 1121     // our own: a code page for programs other than 932
#define IDS_CODE_PAGE_NOT_JAPANESE_9X 1122  // our own: the same on 9x, in English alone

// Logo
#define IDS_PNG_ERROR 1200

// New-connection form and entry creation
#define IDS_CHOOSE_METHOD 1300
#define IDS_NO_ENTRY_NAME 1301
#define IDS_NO_USER_NAME 1302
#define IDS_NO_PASSWORD 1303
#define IDS_NO_ACCESS_POINT 1304
#define IDS_NO_MODEM 1305
#define IDS_NO_DIAL_MODE 1306
#define IDS_OVERWRITE_QUESTION 1307
#define IDS_CREATED 1309
#define IDS_CREATE_FAILED 1310
#define IDS_PHS_NOTE 1311
#define IDS_ENTRY_FAILED_610 1320
#define IDS_ENTRY_FAILED_621 1321
#define IDS_ENTRY_FAILED_14 1322
#define IDS_ENTRY_FAILED_1784 1323
#define IDS_ENTRY_FAILED_OTHER 1324
#define IDS_USER_NAME_TOO_LONG 1325
#define IDS_NUMBER_TOO_LONG 1326
#define IDS_USER_NAME_NOT_PLAIN 1327  // our own: blanks or full-width characters in a user name
#define IDS_USER_NAME_HAS_DOMAIN 1328  // our own: a typed user name with a domain of its own
#define IDS_ENTRY_NAME_REFUSED 1340   // our own: a connection name Windows does not take
#define IDS_OVERWRITE_NEEDS_ADMINISTRATOR 1341  // our own: an all-users entry, a standard user
#define IDS_NOT_DEFAULT_CONNECTION 1342         // our own: created, but not made the default

// Migration
#define IDS_NO_ISP_SETTINGS 1400
#define IDS_PHONEBOOK_READ_FAILED 1401
#define IDS_NO_DIALUP_ENTRIES 1402
#define IDS_NOTHING_TO_CHANGE 1403
#define IDS_CHANGED_COUNT 1404
#define IDS_FOUND_NOT_CHANGED 1405
#define IDS_CHECKING_ENTRY 1406
#define IDS_CHANGE_FAILED_610 1410
#define IDS_CHANGE_FAILED_621 1411
#define IDS_CHANGE_FAILED_14 1412
#define IDS_CHANGE_FAILED_1784 1413
#define IDS_CHANGE_FAILED_OTHER 1414
#define IDS_NEW_NUMBER_TOO_LONG 1415         // our own: a new number that does not fit the entry
#define IDS_ENTRY_PARTLY_CHANGED 1416        // our own: a failed write that could not be undone
#define IDS_ENTRIES_NOT_EXAMINED 1417        // our own: entries a migration could not read
#define IDS_JOURNAL_NOT_WRITTEN 1418         // our own: a change not made, its record not written
#define IDS_JOURNAL_PUT_BACK 1419            // our own: entries put back at start
#define IDS_JOURNAL_UNREADABLE 1420          // our own: journal files not acted on
#define IDS_ENTRIES_NEED_ADMINISTRATOR 1430  // our own: all-users entries a standard user met
#define IDS_ALREADY_RUNNING 1431             // our own: a second start while Dialnest runs
#define IDS_JOURNAL_LEFT_AS_IS 1432          // our own: entries changed since an open change

// Access-point change dialog (134) and user-name change dialog (135)
#define IDC_CHANGE_USER_NAME 1001
#define IDC_CHANGE_PASSWORD 1002
#define IDC_CHANGE_PHONE_NUMBER 1003
#define IDC_CHANGE_OLD_NUMBER 1004
#define IDC_CHANGE_NEW_NUMBER 1005
#define IDC_CHANGE_ENTRY_NAME 1006
#define IDC_CHANGE_EDIT_USER_NAME 1011
#define IDC_CHANGE_EDIT_PASSWORD 1012
#define IDC_CHANGE_EDIT_MODEM 1013
#define IDC_CHANGE_OLD_USER_NAME 1014
#define IDC_CHANGE_NEW_USER_NAME 1015
#define IDC_CHANGE_OLD_DOMAIN 1016
#define IDC_CHANGE_NEW_DOMAIN 1017
#define IDC_CHANGE_MODEM_LIST 1018
#define IDC_CHANGE_DOMAIN 1021
