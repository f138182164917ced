#include "app/engine_link.h"

bool engineBusy() {
    return false;
}

void stopSearch() {}

void clearEngineReport() {}

void afterUserMove(int) {}

void clearHashtables() {}

void onActivate() {}

void onLowMemory() {}

int moveNowCommand(platform::Window*, int, intptr_t, unsigned) {
    return 0;
}

int hintCommand(platform::Window*, int, intptr_t, unsigned) {
    return 0;
}
