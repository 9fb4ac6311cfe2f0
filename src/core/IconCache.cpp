#include "core/IconCache.h"

void RebuildIconCache() {}
void EnableShutdownPrivilege() {}
