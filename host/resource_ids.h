#pragma once
// Resource identifiers of the host program.
#define IDS_DESCRIPTION 1
#define IDB_GLOW 101
#define IDB_PREVIEW 102
// The command button's skins, in the order of its Skin values.
#define IDB_SKIN_NORMAL 111
#define IDB_SKIN_HIGHLIGHT 112
#define IDB_SKIN_SELECTED 113
#define IDB_SKIN_HIGHLIGHTSELECT 114
#define IDB_SKIN_PRESSED 115
#define IDB_SKIN_DISABLE 116
// The settings dialog's pictures, its icon (also the program's) and its
// controls' stored properties.
#define IDI_FULMINA 1
#define IDB_TILE 121
#define IDB_PLATE 122
#define IDB_PLATE_MASK 123
#define IDB_OPTION0 124
#define IDB_OPTION1 125
#define IDB_SQUARE0 126
#define IDB_SQUARE1 127
#define IDR_DIALOG_BAG 130
