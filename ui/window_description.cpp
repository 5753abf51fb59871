#include "ui/window_description.h"

const ControlDesc* FindControl(const WindowDesc& window, int id) {
    for (const ControlDesc& c : window.controls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

Rect PlaceInWindow(const WindowDesc& window, const ControlDesc& control) {
    Rect r{control.x, control.y, control.width, control.height};
    for (const ControlDesc* p = FindControl(window, control.parent); p; p = FindControl(window, p->parent)) {
        r.x += p->x;
        r.y += p->y;
    }
    return r;
}

int PageOf(const WindowDesc& window, const ControlDesc& control) {
    for (const ControlDesc* c = &control; c; c = FindControl(window, c->parent)) {
        if (c->page != 0) return c->page;
    }
    return 0;
}

Rect CentreOnScreen(int width, int height, int screenWidth, int screenHeight) {
    return {(screenWidth - width) / 2, (screenHeight - height) / 2, width, height};
}
