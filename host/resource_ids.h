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
