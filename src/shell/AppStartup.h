#pragma once

// The display-free steps of start-up and termination, and the picture id
// file of the user's book. The window side (fonts, colours, screens) builds
// on these.

#include <string>

// First finishes or undoes a book write that a kill cut short
// (recoverPendingBookCommit). Then, for every book and each of its four
// files, in book order: when the documents folder has no such file, the
// shipped one (resource folder, Formulas/<Book>/<Book>_<file>) is copied there. Existing files are never
// overwritten, so the user's edits survive; a file deleted by hand comes back
// at the next start. A copy is made under a temporary name and renamed into
// place, so an interrupted start never leaves half a book file behind. A file
// that cannot be copied is skipped. Returns the number of files copied.
int copyResourceToDocumentFolder();

// Resolves the two folders, copies missing book files, clears the open book,
// sets the output mode and loads Favorites and History.
void initApplicationState();

// Writes Favorites and History; the rest of the state needs no saving.
bool cleanupApplicationState();

// "User Define_CurrentImageId.txt" in the documents folder: one int32, the
// last picture id used.
std::string getImageIdFilename();

// "<documents>/Image/UserDefineImage_<n>.png": where the picture with id n
// is stored.
std::string getImageFilename(int n);

// The id for the next picture: the stored id + 1, or 0 when the file is
// missing or unreadable; ids whose picture file already exists are skipped.
int getNextImageId();

// Stores n as the last picture id used; nothing happens when the file
// cannot be written.
void saveCurrentImageId(int n);
