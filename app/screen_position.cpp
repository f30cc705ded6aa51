#include "app/screen_position.h"

ScreenPosition centredOnScreen(ScreenSize screen, ScreenSize window) {
    // C++ integer division truncates toward zero.
    return {(screen.width - window.width) / 2, (screen.height - window.height) / 2};
}
