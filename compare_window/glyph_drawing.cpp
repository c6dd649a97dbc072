#include "glyph_drawing.h"

#include <algorithm>
#include <string>

void DrawGlyphRuns(HDC dc, int x, int y, int cellWidth, const GlyphRow& row, std::vector<INT>& advances)
{
    advances.resize(row.cells.size());
    for (size_t unit = 0; unit < row.cells.size(); ++unit)
        advances[unit] = row.cells[unit] * cellWidth;
    for (const GlyphRun& run : row.runs)
        ::ExtTextOutW(dc, x + run.column * cellWidth, y, 0, nullptr,
                      reinterpret_cast<const wchar_t*>(row.units.data()) + run.firstUnit,
                      static_cast<UINT>(run.unitCount), advances.data() + run.firstUnit);
}

std::wstring WidenProcessText(const CString& text)
{
    if (text.empty())
        return std::wstring();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(length, 0)), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}
