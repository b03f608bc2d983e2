#pragma once

#include <QString>

namespace softphone {

// Per-user folders, following the XDG base directory rules.
QString configFolder();  // $XDG_CONFIG_HOME/Softphone
QString dataFolder();    // $XDG_DATA_HOME/Softphone: data files
QString engineFolder();  // DataFolder()/engine: the SIP engine's own files

// The installed read-only assets: share/softphone beside the program's bin folder.
QString installedDataFolder();

// Creates the folder (and its parents) with the given mode on the last level.
bool makeFolder(const QString& path, int mode = 0700);

}  // namespace softphone
