// Resource ids of Jotlings.exe, shared by the .rc file and the code.
#pragma once

#define IDS_APP_TITLE 1
#define IDS_APP_CLASS 3

#define IDI_JOTLINGS 101
