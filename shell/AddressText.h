#pragma once

#include <QString>

// The address box writes a folder under the home folder as "~/..." (the home
// folder itself as "~"), the way shells and file managers do, and takes "~"
// and "~/..." typed into it as the home folder and the paths below it.

// `path` as the address box shows it; other paths and texts unchanged.
QString AddressOfFolder(const QString& path, const QString& home);
// The folder a typed or picked address names; other texts unchanged
// ("~user" included: only the user's own home is abbreviated).
QString FolderOfAddress(const QString& text, const QString& home);
