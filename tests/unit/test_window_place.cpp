#include <doctest/doctest.h>

#include <string>

#include "compare_window/window_place.h"

namespace doctest {
template <> struct StringMaker<PlaceRect> {
    static String convert(const PlaceRect& r)
    {
        return ("{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
                std::to_string(r.bottom) + "}")
            .c_str();
    }
};
} // namespace doctest

TEST_CASE("a placement counted from the work area is moved by the bars that lie above and left of it")
{
    const PlaceRect monitor = { 0, 0, 1280, 1024 };
    struct Case {
        const char* label;
        PlaceRect workArea;
        PlaceRect screen;
    } cases[] = {
        { "taskbar at the bottom: nothing moves", { 0, 0, 1280, 984 }, { 100, 50, 700, 450 } },
        { "taskbar at the top", { 0, 40, 1280, 1024 }, { 100, 90, 700, 490 } },
        { "taskbar at the left", { 60, 0, 1280, 1024 }, { 160, 50, 760, 450 } },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CHECK(WorkspaceToScreen({ 100, 50, 700, 450 }, c.workArea, monitor) == c.screen);
    }
    // A second monitor to the left of the first, its taskbar at the top.
    CHECK(WorkspaceToScreen({ 10, 10, 410, 310 }, { -1024, 30, 0, 768 }, { -1024, 0, 0, 768 }) ==
          PlaceRect{ 10, 40, 410, 340 });
}

TEST_CASE("a rectangle off the work area is brought inside it, shrunk only when it is larger")
{
    const PlaceRect work = { 0, 0, 1280, 984 };
    struct Case {
        const char* label;
        PlaceRect stored;
        PlaceRect placed;
    } cases[] = {
        { "inside: kept as it is", { 100, 50, 700, 450 }, { 100, 50, 700, 450 } },
        { "far to the right and below (a monitor that is gone)", { 3000, 2000, 3600, 2400 }, { 680, 584, 1280, 984 } },
        { "above and left of the screen", { -2000, -900, -1400, -500 }, { 0, 0, 600, 400 } },
        { "larger than the work area", { -50, -50, 2000, 1500 }, { 0, 0, 1280, 984 } },
    };
    for (const Case& c : cases) {
        CAPTURE(c.label);
        CHECK(BringInside(c.stored, work) == c.placed);
    }
}
