#include "platform/writefaults_internal.h"

#include <atomic>
#include <cerrno>

namespace Platform {

namespace {

std::atomic<bool> gArmed{false};
std::atomic<int64_t> gCount{0};
std::atomic<int64_t> gNth{0};
std::atomic<uint8_t> gFault{wfIOError};
std::atomic<bool> gStruck{false};

bool DiskStaysFull(TWriteFault fault) {
  return fault == wfShortWrite || fault == wfNoSpace;
}

}  // namespace

void ArmWriteFault(int64_t nth, TWriteFault fault) {
  gCount = 0;
  gNth = nth;
  gFault = fault;
  gStruck = false;
  gArmed = true;
}

void DisarmWriteFault() {
  gArmed = false;
}

int64_t CountedWrites() {
  return gCount;
}

bool WriteFaultStruck() {
  return gStruck;
}

namespace WriteFaults {

int64_t Allow(int64_t count, int& error) {
  error = 0;
  if (!gArmed.load(std::memory_order_relaxed)) return count;
  const int64_t n = ++gCount;
  const auto fault = static_cast<TWriteFault>(gFault.load());
  if (gStruck && DiskStaysFull(fault)) {
    error = ENOSPC;
    return 0;
  }
  if (n != gNth) return count;
  gStruck = true;
  switch (fault) {
    case wfIOError:
      error = EIO;
      return 0;
    case wfShortWrite:
      error = ENOSPC;
      return count / 2;
    case wfNoSpace:
      break;
  }
  error = ENOSPC;
  return 0;
}

}  // namespace WriteFaults

}  // namespace Platform
