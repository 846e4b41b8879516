// The search for a missing file under the Windows and program-files folders, and the
// user's choice among several finds.
#pragma once

#include <string>
#include <vector>

class clsItem;

// The candidates handed to the chooser dialog, and the path the user chose there (empty
// when the dialog was not closed with OK).
extern std::vector<std::string> colCandidates;
extern std::string sChosenPath;

// The path to re-point the record to: the only find, the user's choice among several, or
// empty (nothing found, the choice cancelled, a record that is not searched for).
std::string FindMissingFile(clsItem& item);

// Every entry of the folder's tree named `fileName` (without regard to case), files and
// folders alike: a folder's own matches in listing order, then each subfolder's tree in
// turn. Links and junctions are not entered. `folder` has no trailing backslash.
std::vector<std::string> SearchFile(const std::string& folder, const std::string& fileName);

// The path without one trailing backslash.
std::string StripBackslash(const std::string& path);

// Shows the text on the repair window's status line and lets pending events run, at the
// pace a screen can take. Nothing happens when there is no repair window.
void SetRepairStatus(const std::string& text);

// FindMissingFile looks names up in one index of both trees, built on its first search and
// kept for the rest of the repair run; it offers exactly what SearchFile would find, in the
// same order, less the entries gone since. This forgets the index, so that the next search
// builds a fresh one: called when a repair run starts.
void ResetMissingFileIndex();
