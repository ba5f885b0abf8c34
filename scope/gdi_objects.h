#pragma once
// Scope guards for the drawing objects of one paint. Declaring the owners
// first and the selections after them makes every object deselected before
// it is deleted, whatever path leaves the scope.
#include <windows.h>

namespace zembrit {

// A pen or brush made for one drawing step; deleted when the step ends.
struct OwnedObject {
    HGDIOBJ handle;

    explicit OwnedObject(HGDIOBJ made) : handle(made) {}
    ~OwnedObject() {
        if (handle) DeleteObject(handle);
    }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;
};

// An object selected into a device context; the object it replaced is
// selected back when the step ends.
struct Selection {
    HDC dc;
    HGDIOBJ previous;

    Selection(HDC target, const OwnedObject& object) : dc(target), previous(SelectObject(target, object.handle)) {}
    ~Selection() {
        if (previous) SelectObject(dc, previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
};

// BeginPaint on construction, EndPaint on destruction.
struct PaintSession {
    HWND window;
    PAINTSTRUCT paint{};
    HDC dc;

    explicit PaintSession(HWND target) : window(target), dc(BeginPaint(target, &paint)) {}
    ~PaintSession() { EndPaint(window, &paint); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
};

}  // namespace zembrit
