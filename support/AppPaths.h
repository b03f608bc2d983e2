#pragma once

#include <QString>

namespace softphone {

// Per-user folders, following the XDG base directory rules.
QString ConfigFolder();  // $XDG_CONFIG_HOME/Softphone
QString DataFolder();    // $XDG_DATA_HOME/Softphone: data files
QString EngineFolder();  // DataFolder()/engine: the SIP engine's own files

// The installed read-only assets: share/softphone beside the program's bin folder.
QString InstalledDataFolder();

// Creates the folder (and its parents) with the given mode on the last level.
bool MakeFolder(const QString& path, int mode = 0700);

}  // namespace softphone
