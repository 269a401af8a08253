// A seam in the file layer through which tests make writes fail the way a
// failing or full disk does. Record files, file streams and text files ask
// it before every write, record files also before every truncation, and the
// atomic file writer before its flush to the disk and its rename. Disarmed
// it costs one atomic load.
#pragma once

#include <cstdint>

namespace Platform {

enum TWriteFault : uint8_t {
  wfIOError,     // the write fails with EIO and moves nothing; later writes succeed
  wfShortWrite,  // half of the bytes reach the file, then ENOSPC; later writes fail too
  wfNoSpace      // the write fails with ENOSPC and moves nothing; later writes fail too
};

// Counts the writes of the file layer from now on; the nth of them (1-based)
// fails as given. nth 0 only counts.
void ArmWriteFault(int64_t nth, TWriteFault fault);
void DisarmWriteFault();
// Writes counted since the last ArmWriteFault.
int64_t CountedWrites();
// True once the armed fault has struck.
bool WriteFaultStruck();

// Arms for the lifetime of a scope, disarming also when it is left by an exception.
class TWriteFaultScope {
 public:
  TWriteFaultScope(int64_t nth, TWriteFault fault) { ArmWriteFault(nth, fault); }
  ~TWriteFaultScope() { DisarmWriteFault(); }
  TWriteFaultScope(const TWriteFaultScope&) = delete;
  TWriteFaultScope& operator=(const TWriteFaultScope&) = delete;
};

}  // namespace Platform
