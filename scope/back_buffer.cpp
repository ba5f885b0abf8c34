#include "scope/back_buffer.h"

#include "plugin/plugin_state.h"
#include "scope/gdi_objects.h"
#include "settings/saturate.h"
#include "settings/settings_store.h"

namespace zembrit {

BackBuffer backBuffer;

// The paint begun here (outside WM_PAINT) validates the whole window, so a
// pending repaint is dropped; the capture side's next request renews it.
void rebuildBackBuffer() {
    PaintSession paint(scopeWindow);
    RECT client{};
    GetClientRect(scopeWindow, &client);
    backBuffer.memoryDC = CreateCompatibleDC(nullptr);  // compatible with the screen
    backBuffer.bitmap = CreateCompatibleBitmap(paint.dc, client.right, client.bottom);
    backBuffer.previousBitmap = SelectObject(backBuffer.memoryDC, backBuffer.bitmap);
    const bool made = backBuffer.memoryDC && backBuffer.bitmap;
    backBuffer.width = made ? client.right : 0;
    backBuffer.height = made ? client.bottom : 0;
}

void releaseBackBuffer() {
    if (backBuffer.memoryDC && backBuffer.previousBitmap) SelectObject(backBuffer.memoryDC, backBuffer.previousBitmap);
    if (backBuffer.bitmap) DeleteObject(backBuffer.bitmap);
    if (backBuffer.memoryDC) DeleteDC(backBuffer.memoryDC);
    backBuffer = BackBuffer{};
}

// The buffer is rebuilt at the client size the window has before this step
// takes effect; the stored size already follows the proposal.
void onSizing(const RECT& proposed) {
    settings.width = saturateToInt32(int64_t{proposed.right} - proposed.left);
    settings.height = saturateToInt32(int64_t{proposed.bottom} - proposed.top);
    releaseBackBuffer();
    rebuildBackBuffer();
}

}  // namespace zembrit
