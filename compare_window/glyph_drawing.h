// Draws laid-out characters one per cell with the wide GDI call, so a glyph
// that is wider, narrower or missing in the font never moves the columns.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "compare_window/columns.h"
#include "framework/cstring.h"

// Each run at x + run.column * cellWidth, top y; advances is scratch space.
void DrawGlyphRuns(HDC dc, int x, int y, int cellWidth, const GlyphRow& row, std::vector<INT>& advances);
// A text of the process code page (paths, window texts) as UTF-16.
std::wstring WidenProcessText(const CString& text);
