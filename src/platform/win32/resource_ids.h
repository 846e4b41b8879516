// Ids of the resources that the executable carries (src/app/resources/purgelint.rc) and the
// win32 backend loads by id. Plain macros: the resource compiler reads this file too.
#pragma once

// The program's icon; the lowest id, so that the shell shows it for the executable.
#define PURGELINT_ICON_PROGRAM 1
// The list view's small icons, one a kind of problem.
#define PURGELINT_ICON_REGISTRY 101
#define PURGELINT_ICON_SHORTCUT 102
#define PURGELINT_ICON_FILE 103
// The English language file (languages/eng.txt), byte for byte, as RCDATA.
#define PURGELINT_LANGUAGE_ENGLISH 201
