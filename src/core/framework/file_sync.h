#pragma once
#include <QString>

class QFileDevice;

// A file written, renamed or deleted is on the disk after a power cut only
// once it, and its folder, are synced.  Both return false on failure.
bool sync_file_to_disk(const QString &path);
// The same for a file open for writing: what was written is flushed first.
bool sync_to_disk(QFileDevice &file);
bool sync_folder_to_disk(const QString &folder);
