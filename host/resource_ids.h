#pragma once
// Resource identifiers of the host program.
#define IDS_DESCRIPTION 1
#define IDB_GLOW 101
#define IDB_PREVIEW 102
