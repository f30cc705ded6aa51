// Placing a window of a given size on the screen.
#pragma once

struct ScreenSize {
    int width;
    int height;
};

struct ScreenPosition {
    int left;
    int top;
};

// Left := (screen width - window width) div 2, and so for top; the division truncates toward
// zero, also for a window larger than the screen.
ScreenPosition centredOnScreen(ScreenSize screen, ScreenSize window);
