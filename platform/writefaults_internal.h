// The file layer's side of the write-fault seam.
#pragma once

#include <cstdint>

#include "platform/writefaults.h"

namespace Platform::WriteFaults {

// How many of `count` bytes the write about to happen may move. error is set
// to the errno the write must fail with afterwards, 0 if none.
int64_t Allow(int64_t count, int& error);

}  // namespace Platform::WriteFaults
