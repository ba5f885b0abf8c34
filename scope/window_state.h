#pragma once
#include <windows.h>

namespace zembrit {

extern bool pluginsHidden;

void applyWindowState();
LRESULT hitTest();
void onNonClientLeftButtonDown();
void onGetMinMaxInfo(MINMAXINFO& limits);
void onWindowPosChanging(WINDOWPOS& pending);
void onWindowPosChanged(const WINDOWPOS& done);

}  // namespace zembrit
