#pragma once
// How the browse field splits a file name for the open-file dialog, with the separators of a
// POSIX file system.

#include <QString>

namespace log2plt::qt {

// Not empty and free of "*" and "?", which the file dialogs take as patterns rather than names.
bool IsValidFileName(const QString& name);

// Everything up to and including the last "/"; empty when there is none.
QString FolderPart(const QString& name);
// Everything after the last "/".
QString NamePart(const QString& name);

// The folder as the dialog wants it: without a final "/", unless it is the root.
QString StartingFolder(const QString& folder_part);

}  // namespace log2plt::qt
