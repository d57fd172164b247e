// Whole files written so that a reader finds the old one or the new one,
// never a part: the settings and the recordings.
#pragma once

#include <string>

namespace files {

// Makes `folder` and the folders above it where missing.
bool MakeFolders(const std::string& folder);

// Replaces `path` with `bytes`: a temporary file in the same folder, synced,
// then renamed over it, and the folder synced. The folder is made when
// missing. False (and nothing left behind) on any failure, errno telling why.
bool WriteAtomically(const std::string& path, const std::string& bytes);

// Runs between the synced temporary file and the rename; for tests.
extern void (*gBeforeRename)();

}  // namespace files
