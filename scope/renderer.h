#pragma once

namespace zembrit {

void paintScope();

}  // namespace zembrit
