// One-time notes for the companion updater Novaroll.exe in the machine-wide RunOnce list.
#pragma once

// "update_purgelint2": the program has been started for the first time.
void HandOffFirstRun();
// "update_purgelint3": the first scan's problem count; -1 for a cancelled scan.
void HandOffFirstErrors(long count);
