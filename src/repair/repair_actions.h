// The two ways a record is repaired: its entry re-pointed to a found file, or deleted.
#pragma once

#include <string>

class clsItem;

// Re-points the record's entry to `newPath`; marks the record repaired and returns true on
// success.
bool ChangeItem(clsItem& item, const std::string& newPath);
// Deletes the record's entry; marks the record repaired when the entry is gone.
void DeleteItem(clsItem& item);
// Deletes one file; true when it is gone, false after telling the user it could not be.
bool KillFile(const std::string& path);
