#pragma once

#include <QString>
#include <functional>

// Installed system-wide, the program folder is read-only. What the user writes
// then goes to a "Cubestacks" folder in the user's documents, while the block
// sets and the welcome model are still read from the program folder. Run from
// a writable folder (the build's), the program writes beside itself as ever.

// Whether the program may write into the folder. A folder that does not exist
// yet counts as writable when the nearest existing folder above it is.
bool FolderIsWritable(const QString& folder);

// Tests replace the check: whoever runs as root may write anywhere.
using FolderWritableCheck = std::function<bool(const QString& folder)>;
void SetFolderWritableCheck(FolderWritableCheck check); // empty: the file system's answer

// The user's own folder: "Cubestacks" in the documents folder, with a trailing '/'.
QString UserCubestacksFolder();

// The folder a dialog that writes starts in: folder itself where the program
// may write, otherwise the user's own folder, made when missing (the home folder
// when even that cannot be made).
QString WritableStartFolder(const QString& folder);
