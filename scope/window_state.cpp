#include "scope/window_state.h"

namespace zembrit {

bool pluginsHidden = false;

void applyWindowState() {}
LRESULT hitTest() { return HTCAPTION; }
void onNonClientLeftButtonDown() {}
void onGetMinMaxInfo(MINMAXINFO&) {}
void onWindowPosChanging(WINDOWPOS&) {}
void onWindowPosChanged(const WINDOWPOS&) {}

}  // namespace zembrit
