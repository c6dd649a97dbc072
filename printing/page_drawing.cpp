#include "page_drawing.h"

#include <algorithm>
#include <string>
#include <vector>

#include "compare_window/glyph_drawing.h"
#include "engine/text_buffer.h"

namespace {

HFONT MakeFont(HDC dc, int pointSize, int scale, int weight, const char* face, BOOL underline = FALSE)
{
    return ::CreateFontA(FontHeightFor(pointSize * scale, ::GetDeviceCaps(dc, LOGPIXELSY)), 0, 0, 0, weight, FALSE,
                         underline, FALSE, DEFAULT_CHARSET, OUT_STRING_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, face);
}

SIZE ExtentOfM(HDC dc, HFONT font)
{
    SIZE size = { 0, 0 };
    HGDIOBJ old = ::SelectObject(dc, font);
    ::GetTextExtentPoint32A(dc, "M", 1, &size);
    ::SelectObject(dc, old);
    return size;
}

// Paths are in the process code page, UTF-8 where the system allows.
void DrawClipped(HDC dc, int x, int y, const RECT& clip, const CString& text)
{
    const std::wstring wide = WidenProcessText(text);
    ::ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
}

// One half of a row: the line number, then the text from seven characters in,
// its tabs every four characters from where the text starts; the marked
// stretches in the underlined font, so k stretches take at most 2k+1 runs.
void DrawHalf(HDC dc, const PrintLayout& layout, int x, int right, int y, const TextBuffer& buffer, uint32_t row,
              HFONT font, HFONT underlined, const std::vector<MarkedSpan>& spans)
{
    HRGN clip = ::CreateRectRgn(x, y, right, y + layout.lineHeight);
    ::SelectClipRgn(dc, clip);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    if (buffer.HasFileLine(row)) {
        CString number = FormatLineNumber(buffer.GetLineNumber(row));
        const std::wstring wide = WidenProcessText(number);
        ::TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    }
    // Cut to the column's characters, and drawn one per cell as the pane draws them.
    const std::string text = buffer.GetLineText(row);
    const bool utf8 = StoreIsUtf8(buffer.encoding);
    const int cut = std::min(StepCharacters(text, 0, std::max(0, layout.charsPerColumn), utf8),
                             static_cast<int>(text.size()));
    GlyphRow glyphs;
    std::vector<INT> advances;
    auto draw = [&](int from, int to, HFONT with) {
        to = std::min(to, cut);
        if (from >= to)
            return;
        ::SelectObject(dc, with);
        LayOutGlyphs(text, utf8, from, to, glyphs);
        DrawGlyphRuns(dc, x + 7 * layout.charWidth, y, layout.charWidth, glyphs, advances);
    };
    int plainFrom = 0;
    for (const MarkedSpan& span : spans) {
        draw(plainFrom, static_cast<int>(span.byteBegin), font);
        draw(static_cast<int>(span.byteBegin), static_cast<int>(span.byteEnd), underlined);
        plainFrom = static_cast<int>(span.byteEnd);
    }
    draw(plainFrom, cut, font);
    ::SelectObject(dc, oldFont);
    ::SelectClipRgn(dc, nullptr);
    ::DeleteObject(clip);
}

} // namespace

bool PrintFonts::Create(HDC dc, int pointSize)
{
    text.Attach(MakeFont(dc, pointSize, 1, FW_NORMAL, "Courier New"));
    bold.Attach(MakeFont(dc, pointSize, 1, FW_BOLD, "Courier New"));
    header.Attach(MakeFont(dc, pointSize, 2, FW_BOLD, "Arial"));
    textUnderlined.Attach(MakeFont(dc, pointSize, 1, FW_NORMAL, "Courier New", TRUE));
    boldUnderlined.Attach(MakeFont(dc, pointSize, 1, FW_BOLD, "Courier New", TRUE));
    return text.GetSafeHandle() && bold.GetSafeHandle() && header.GetSafeHandle() &&
           textUnderlined.GetSafeHandle() && boldUnderlined.GetSafeHandle();
}

PageMetrics MeasurePage(HDC dc, const PrintFonts& fonts)
{
    PageMetrics metrics;
    metrics.width = ::GetDeviceCaps(dc, HORZRES);
    metrics.height = ::GetDeviceCaps(dc, VERTRES);
    metrics.dpiX = ::GetDeviceCaps(dc, LOGPIXELSX);
    metrics.dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
    SIZE text = ExtentOfM(dc, fonts.text);
    SIZE header = ExtentOfM(dc, fonts.header);
    metrics.charWidth = text.cx;
    metrics.lineHeight = text.cy;
    metrics.headerCharWidth = header.cx;
    metrics.headerHeight = header.cy;
    return metrics;
}

void DrawPageFrame(HDC dc, const PrintLayout& layout, const PrintFonts& fonts, HPEN rulePen,
                   const CString& sourcePath, const CString& masterPath, int page)
{
    HGDIOBJ oldFont = ::SelectObject(dc, fonts.header);
    CString pageText = FormatString("Page %d", page);
    SIZE extent = { 0, 0 };
    const std::wstring widePage = WidenProcessText(pageText);
    ::GetTextExtentPoint32W(dc, widePage.c_str(), static_cast<int>(widePage.size()), &extent);
    int pageX = layout.rightEdge - extent.cx;
    int top = layout.topMargin;
    int bottom = top + layout.headerHeight;
    // The Source path stops at the middle line, the Master path before the page number.
    DrawClipped(dc, layout.leftMargin, top, { layout.leftMargin, top, layout.middleX, bottom }, sourcePath);
    DrawClipped(dc, layout.rightColumnX, top, { layout.rightColumnX, top, pageX, bottom }, masterPath);
    DrawClipped(dc, pageX, top, { pageX, top, layout.rightEdge, bottom }, pageText);
    ::SelectObject(dc, oldFont);

    HGDIOBJ oldPen = ::SelectObject(dc, rulePen);
    ::MoveToEx(dc, layout.leftMargin, layout.ruleY, nullptr);
    ::LineTo(dc, layout.rightEdge, layout.ruleY);
    ::MoveToEx(dc, layout.middleX, layout.topMargin, nullptr);
    ::LineTo(dc, layout.middleX, layout.bottomY);
    ::SelectObject(dc, oldPen);
}

void DrawGapRule(HDC dc, const PrintLayout& layout, int y)
{
    int middle = y + layout.lineHeight / 2;
    ::MoveToEx(dc, layout.leftMargin, middle, nullptr);
    ::LineTo(dc, layout.rightEdge, middle);
}

void DrawRow(HDC dc, const PrintLayout& layout, const PrintFonts& fonts, bool bold, int y, const TextBuffer& source,
             const TextBuffer& master, uint32_t row, const RowMarks& marks)
{
    HFONT font = bold ? fonts.bold : fonts.text;
    HFONT underlined = bold ? fonts.boldUnderlined : fonts.textUnderlined;
    DrawHalf(dc, layout, layout.leftMargin, layout.middleX - layout.charWidth, y, source, row, font, underlined,
             marks.source);
    DrawHalf(dc, layout, layout.rightColumnX, layout.rightEdge, y, master, row, font, underlined, marks.master);
}
