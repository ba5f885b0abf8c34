#include "scope/back_buffer.h"

namespace zembrit {

void rebuildBackBuffer() {}
void releaseBackBuffer() {}
void onSizing(const RECT&) {}

}  // namespace zembrit
