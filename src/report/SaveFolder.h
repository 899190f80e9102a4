#pragma once

#include <QString>

// Where exported workbooks and saved reports are suggested: the user's documents folder, or
// the home folder when there is none.
QString defaultSaveFolder();

// A text made usable as a file name: characters no file system takes become "_".
QString fileNameFrom(const QString &text);
