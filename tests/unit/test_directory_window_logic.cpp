// The directory window's portable pieces: the resize table, the busy guard,
// the row texts and the same-directory test.
#include <doctest/doctest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "directory/window/busy_guard.h"
#include "directory/window/file_row_text.h"
#include "directory/window/layout_anchor.h"
#include "directory/core/same_directory.h"
#include "resources/directory_ids.h"

namespace {

const LayoutAnchor& AnchorOf(const LayoutTable& table, int id)
{
    for (const LayoutAnchor& anchor : table)
        if (anchor.id == id)
            return anchor;
    FAIL("no row for control " << id);
    return table[0];
}

} // namespace

TEST_CASE("resizing moves each control as its anchors say")
{
    // A window at an odd place, and controls in each column of the template.
    const LayoutRect window = { 101, 57, 701, 557 }; // centre x 401
    struct Start {
        int id;
        LayoutRect rect;
    } starts[] = {
        { IDC_SOURCE_GROUP, { 107, 60, 305, 230 } },
        { IDC_SOURCE_DRIVE_LABEL, { 115, 200, 185, 212 } },
        { IDC_SOURCE_DRIVE, { 190, 198, 300, 220 } },
        { IDC_PATTERN, { 320, 80, 480, 100 } },
        { IDC_COPY_TO_MASTER, { 320, 150, 480, 170 } },
        { IDC_MASTER_GROUP, { 497, 60, 695, 230 } },
        { IDC_MASTER_DRIVE_LABEL, { 505, 200, 575, 212 } },
        { IDC_MASTER_DRIVE, { 580, 198, 690, 220 } },
        { IDC_SOURCE_FILES, { 107, 250, 398, 550 } },
        { IDC_MASTER_FILES, { 404, 250, 695, 550 } },
    };
    LayoutTable table = DirectoryWindowLayout();
    for (const Start& start : starts)
        for (LayoutAnchor& anchor : table)
            if (anchor.id == start.id)
                CaptureOffsets(anchor, window, start.rect);

    SUBCASE("unchanged size puts every control back where it was")
    {
        for (const Start& start : starts) {
            CAPTURE(start.id);
            LayoutRect placed = PlaceControl(AnchorOf(table, start.id), window);
            CHECK(placed.left == start.rect.left);
            CHECK(placed.top == start.rect.top);
            CHECK(placed.right == start.rect.right);
            CHECK(placed.bottom == start.rect.bottom);
        }
    }
    SUBCASE("100 pixels wider and 40 taller, moved as well")
    {
        const LayoutRect grown = { 11, 7, 711, 547 };
        const int dx = grown.left - window.left; // the whole window moved
        const int dy = grown.top - window.top;
        struct Expected {
            int id;
            int left, top, right, bottom; // change of each edge beyond the move
        } expected[] = {
            { IDC_SOURCE_GROUP, 0, 0, 50, 0 },
            { IDC_SOURCE_DRIVE_LABEL, 0, 0, 0, 0 },
            { IDC_SOURCE_DRIVE, 50, 0, 50, 0 },
            { IDC_PATTERN, 50, 0, 50, 0 },
            { IDC_COPY_TO_MASTER, 50, 0, 50, 0 },
            { IDC_MASTER_GROUP, 50, 0, 100, 0 },
            { IDC_MASTER_DRIVE_LABEL, 50, 0, 50, 0 },
            { IDC_MASTER_DRIVE, 100, 0, 100, 0 },
            { IDC_SOURCE_FILES, 0, 0, 50, 40 },
            { IDC_MASTER_FILES, 50, 0, 100, 40 },
        };
        for (const Expected& row : expected) {
            CAPTURE(row.id);
            LayoutRect before = {};
            for (const Start& start : starts)
                if (start.id == row.id)
                    before = start.rect;
            LayoutRect placed = PlaceControl(AnchorOf(table, row.id), grown);
            CHECK(placed.left == before.left + dx + row.left);
            CHECK(placed.top == before.top + dy + row.top);
            CHECK(placed.right == before.right + dx + row.right);
            CHECK(placed.bottom == before.bottom + dy + row.bottom);
        }
    }
}

TEST_CASE("the resize table names every control of the window once")
{
    LayoutTable table = DirectoryWindowLayout();
    std::vector<int> ids;
    for (const LayoutAnchor& anchor : table) {
        CHECK(anchor.left >= 0);
        CHECK(anchor.right <= 2);
        CHECK(anchor.top == ANCHOR_NEAR); // nothing but the lists' bottoms moves down
        ids.push_back(anchor.id);
    }
    for (int id = IDC_SOURCE_GROUP; id <= IDC_MASTER_FILES_LABEL; ++id) {
        CAPTURE(id);
        int count = 0;
        for (int listed : ids)
            count += listed == id;
        CHECK(count == (id == 1019 ? 0 : 1)); // 1019 is no control of this window
    }
}

TEST_CASE("a rescan due while the guard is held runs once when the last hold goes")
{
    std::vector<unsigned> runs;
    BusyGuard guard([&](unsigned sides) { runs.push_back(sides); });

    guard.RescanDue(SideBit(SOURCE_SIDE));
    CHECK(runs == std::vector<unsigned>{ 1u });

    runs.clear();
    {
        BusyGuard::Hold outer(guard);
        guard.RescanDue(SideBit(MASTER_SIDE));
        {
            BusyGuard::Hold inner(guard);
            guard.RescanDue(SideBit(MASTER_SIDE));
            guard.RescanDue(SideBit(SOURCE_SIDE));
        }
        CHECK(runs.empty()); // the outer wait still holds
        CHECK(guard.Pending() == BOTH_SIDES);
    }
    CHECK(runs == std::vector<unsigned>{ BOTH_SIDES });
    CHECK(guard.Pending() == 0);
    CHECK_FALSE(guard.IsBusy());
}

TEST_CASE("a rescan that itself waits does not run twice")
{
    int runs = 0;
    BusyGuard* self = nullptr;
    BusyGuard guard([&](unsigned) {
        ++runs;
        BusyGuard::Hold hold(*self); // as a message box inside a rescan would
    });
    self = &guard;
    {
        BusyGuard::Hold hold(guard);
        guard.RescanDue(BOTH_SIDES);
    }
    CHECK(runs == 1);
}

TEST_CASE("a failing rescan at the end of a wait reaches the caller; during unwinding it waits")
{
    int runs = 0;
    BusyGuard guard([&](unsigned) {
        ++runs;
        throw std::bad_alloc();
    });
    auto waitThenEnd = [&] {
        BusyGuard::Hold hold(guard);
        guard.RescanDue(BOTH_SIDES);
    };
    CHECK_THROWS_AS(waitThenEnd(), std::bad_alloc);
    CHECK(runs == 1);
    CHECK_FALSE(guard.IsBusy());

    auto waitThenFail = [&] {
        BusyGuard::Hold hold(guard);
        guard.RescanDue(SideBit(MASTER_SIDE));
        throw std::runtime_error("the wait failed");
    };
    CHECK_THROWS_AS(waitThenFail(), std::runtime_error);
    CHECK(runs == 1);
    CHECK_FALSE(guard.IsBusy());
    CHECK(guard.Pending() == SideBit(MASTER_SIDE));
}

TEST_CASE("a remembered file is found again by its name, whatever the case")
{
    FileEntry entry;
    entry.name = "Main";
    entry.extension = "C";
    RememberedFile remembered = Remember(MASTER_SIDE, entry);
    CHECK(remembered.side == MASTER_SIDE);
    FileEntry again;
    again.name = "main";
    again.extension = "c";
    CHECK(IsRememberedFile(remembered, &again));
    again.extension = "h";
    CHECK_FALSE(IsRememberedFile(remembered, &again));
    CHECK_FALSE(IsRememberedFile(remembered, nullptr));
}

TEST_CASE("row texts: size, DOS date and DOS time")
{
    CHECK(FormatDosDate(0x2A21) == " 2001/01/01");
    CHECK(FormatDosTime(0x7BC0) == " 15:30");
    CHECK(FormatDosTime(0x7BDD) == " 15:30"); // seconds are not shown
    CHECK(FormatDosDate(0) == " 1980/00/00");
    CHECK(FormatFileSize(0) == "0");
    CHECK(FormatFileSize(2147483648ull) == "2147483648");   // 2 GB: no sign
    CHECK(FormatFileSize(4294967306ull) == "4294967306");   // 4 GB + 10: no wrap
}

TEST_CASE("two spellings of one directory are the same directory")
{
    struct Row {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        { "C:\\Work", "c:\\work\\", true },
        { "c:\\work", "c:\\work", true },
        { "c:", "C:\\", true },
        { "c:\\work", "c:\\work2", false },
        { "c:\\work", "d:\\work", false },
        { "\\\\server\\share\\dir", "\\\\SERVER\\Share\\Dir\\", true },
        { "\\\\server\\share", "c:\\share", false },
        { "c:/work/", "C:\\WORK", true },
    };
    for (const Row& row : rows) {
        CAPTURE(row.a);
        CAPTURE(row.b);
        CHECK(SameDirectory(row.a, row.b) == row.same);
    }
    CHECK(DirectoryKey("\\\\") == "\\\\");
}
