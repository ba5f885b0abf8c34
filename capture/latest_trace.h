#pragma once
// The picture as the paint reads it: what the running capture wrote last,
// all flat at load.
#include "capture/signal/trace_picture.h"

namespace zembrit {

const TracePicture& latestPicture();

}  // namespace zembrit
