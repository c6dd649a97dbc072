// Drawing one printed page onto any device context: the header with both
// paths and the page number, the rules, and the rows of the two files. Tests
// draw onto an enhanced metafile and read its records back.
#pragma once

#include <windows.h>

#include <cstdint>

#include "compare_window/change_marks.h"
#include "framework/cstring.h"
#include "framework/gdi_object.h"
#include "printing/print_layout.h"

class TextBuffer;

// The fonts of a job, made for the device they print on.
struct PrintFonts {
    CFont text;   // "Courier New", normal
    CFont bold;   // "Courier New", bold
    CFont header; // "Arial", bold, twice the size
    // The two text fonts underlined, for the changed characters.
    CFont textUnderlined;
    CFont boldUnderlined;
    bool Create(HDC dc, int pointSize = PRINT_POINT_SIZE);
};

class CPen : public CGdiObject {
public:
    bool CreatePen(int style, int width, COLORREF colour)
    {
        Attach(::CreatePen(style, width, colour));
        return m_handle != nullptr;
    }
    operator HPEN() const { return static_cast<HPEN>(m_handle); }
};

// The device's size and resolution, and the extent of "M" in the text and header fonts.
PageMetrics MeasurePage(HDC dc, const PrintFonts& fonts);

// The header (Source path, Master path, "Page n"), the rule under it and the middle line.
void DrawPageFrame(HDC dc, const PrintLayout& layout, const PrintFonts& fonts, HPEN rulePen,
                   const CString& sourcePath, const CString& masterPath, int page);
// A gap rule in the middle of the line at y, with the device context's current pen.
void DrawGapRule(HDC dc, const PrintLayout& layout, int y);
// One display row of both files at y: line numbers, texts cut to the column,
// in bold or not, each side's marked characters underlined.
void DrawRow(HDC dc, const PrintLayout& layout, const PrintFonts& fonts, bool bold, int y, const TextBuffer& source,
             const TextBuffer& master, uint32_t row, const RowMarks& marks);
