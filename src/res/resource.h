// Resource identifiers shared by the resource script and the code.
#pragma once

// Plain statics that the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates
#define IDD_CREDITS 102
#define IDD_CHOOSER 131
#define IDD_VIDEO 159
#define IDD_PLAYER 160
#define IDD_SPLASH 162
#define IDD_TICKER 163

// Icons
#define IDI_QUON 133
#define IDI_TREE_ROOT 135
#define IDI_TREE_FOLDER 137
#define IDI_TREE_SEARCH 138

// Bitmaps
#define IDB_SKIN_QUON 131
#define IDB_SKIN_MUSIC 137
#define IDB_SKIN_EQ 146
#define IDB_SKIN_MODE 147
#define IDB_SKIN_REPEAT_LIST 148
#define IDB_SKIN_REPEAT_ONE 149
#define IDB_CREDITS_PICTURE 155

// Menu
#define IDR_TRAY_MENU 1039

// Player window (template 160)
#define IDC_STATUS 1006
#define IDC_SKIN_REPEAT_ONE 1007
#define IDC_SKIN_REPEAT_LIST 1008
#define IDC_SKIN_EQ 1009
#define IDC_SKIN_MODE 1010
#define IDC_SKIN_MUSIC 1011
#define IDC_SKIN_QUON 1012
#define IDC_BTN_NEXT 1028
#define IDC_BTN_BACK 1029

// Credits window (template 102)
#define IDC_CREDITS_BANNER 1008
#define IDC_CREDITS_PICTURE 1018

// Windows Media window (template 159)
#define IDC_MEDIA_PLAYER 1025

// Playlist chooser (template 131)
#define IDC_SONG_LIST 1003
#define IDC_SELECTED_LIST 1004
#define IDC_DRIVE_COMBO 1006
#define IDC_SELECT_ALL 1016
#define IDC_RESET 1017
#define IDC_FOLDER_TREE 1027

// Tray menu commands (menu 1039) and the skin's commands
#define ID_TRAY_GREETING 32773
#define ID_TRAY_TRANSLUCENT 1056
#define ID_TRAY_SUPPORT 1040
#define ID_TRAY_SHOW_MAIN 1041
#define ID_TRAY_CHOOSER 1043
#define ID_TRAY_REPEAT_ONE 1044
#define ID_TRAY_REPEAT_LIST 1055
#define ID_TRAY_HIDE 132
#define ID_TRAY_EXIT 1042
#define ID_TRAY_CLOSE_MENU 140

// The media player control's initial data (dialog-initialisation resource of template 159)
#define RT_QUON_DLGINIT 240

// The window class of the media player control: named by its class identifier, as the
// Windows Media window's template names it.
#define QUON_PLAYER_CONTROL_CLASS "{22D6F312-B0F6-11D0-94AB-0080C74C7E95}"
// Registered message the player control answers with how often its sound output ran dry.
#define QUON_SOUND_UNDERRUNS_MESSAGE "Quon.SoundUnderruns"
