// Whole-file writers that must never leave a half-written file behind.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Platform {

// Writes fileName through a temporary file in the same directory: `write`
// creates and fills the file named by its argument (with TTextFile,
// TFileStream, TBitmap::SaveToFile ...). When it returns, the temporary is
// flushed to the disk and renamed over fileName in one step, taking over the
// permissions of the file it replaces. When `write` or any later step fails,
// the temporary is removed, fileName keeps its previous content (or stays
// absent) and the error propagates. A symbolic link at fileName is followed,
// so its target is what gets replaced; a file the caller may not write is
// refused with EInOutError (EACCES) before anything is written.
void WriteFileAtomically(const std::string& fileName,
                         const std::function<void(const std::string& tempName)>& write);

struct TFileToWrite {
  std::string fileName;
  std::function<void(const std::string& tempName)> write;
};

// Files that belong together, each written as above; every temporary is
// complete and flushed before the first of them replaces its target, in the
// order given. A failure on the way changes none of the targets; only a
// failed rename after the first can leave the earlier ones replaced.
void WriteFilesAtomically(const std::vector<TFileToWrite>& files);

}  // namespace Platform
