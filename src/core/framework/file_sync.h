#pragma once
#include <QString>

// A file written, renamed or deleted is on the disk after a power cut only
// once it, and its folder, are synced.  Both return false on failure.
bool sync_file_to_disk(const QString &path);
bool sync_folder_to_disk(const QString &folder);
