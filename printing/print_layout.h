// Where things go on a printed page, and which rows go there. Pure arithmetic
// over the printer's metrics and the display rows, so it runs natively.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/diff_block.h"
#include "framework/cstring.h"

class TextBuffer;

// The text fonts' point size and the page margin every job uses.
constexpr int PRINT_POINT_SIZE = 6;
constexpr int PRINT_MARGIN_HUNDREDTHS = 25;

// What the layout needs of the printer, in its device units.
struct PageMetrics {
    int width = 0;  // HORZRES
    int height = 0; // VERTRES
    int dpiX = 0;   // LOGPIXELSX
    int dpiY = 0;   // LOGPIXELSY
    // The extent of "M" in the text font and in the header font.
    int charWidth = 0;
    int lineHeight = 0;
    int headerCharWidth = 0;
    int headerHeight = 0;
};

struct PrintLayout {
    int charWidth = 0;
    int lineHeight = 0;
    int headerHeight = 0;
    int topMargin = 0;    // y of the header text
    int ruleY = 0;        // y of the rule under the header
    int bottomY = 0;      // lower end of the middle line and of the rows
    int firstRowY = 0;
    int linesPerPage = 0; // below 1 when not even one row fits under the header
    int leftMargin = 0;   // x of the left column
    int middleX = 0;
    int rightColumnX = 0;
    int rightEdge = 0;
    int charsPerColumn = 0; // never negative
};

// CreateFont's height for a point size on a device: negative, a character height.
int FontHeightFor(int pointSize, int dpiY);
PrintLayout ComputePrintLayout(const PageMetrics& metrics, int marginHundredths = PRINT_MARGIN_HUNDREDTHS);

// The pages the progress dialog announces: the rows of the blocks taken
// (only the differing ones with differencesOnly), gap rules not counted.
// linesPerPage must be at least 1.
int EstimatePages(const std::vector<DiffBlock>& blocks, bool differencesOnly, int linesPerPage);

// A row counts as differing when the Source side holds a changed line or a
// filler (the line exists only in the Master).
bool RowDiffersForPrint(const TextBuffer& source, uint32_t row);
// Every row either pane holds: edits may have made a pane longer than the comparison.
uint32_t PrintRowCount(uint32_t totalRows, const TextBuffer& source, const TextBuffer& master);

// "%5.5d:" of the 1-based line number.
CString FormatLineNumber(uint32_t lineNumber);
// The text of a row as passed to the printer: at most `limit` characters.
CString CutToColumn(const CString& text, int limit);

enum class PrintStepKind { NewPage, GapRule, Row, Done };

struct PrintStep {
    PrintStepKind kind = PrintStepKind::Done;
    uint32_t row = 0;  // Row: the display row; GapRule: the row the rule stands before
    bool bold = false; // Row: print in the bold font
    int page = 0;      // 1-based page the step is on
    int slot = 0;      // GapRule and Row: the line on the page, from 0
};

// Walks the display rows the way a job prints them: a new page whenever the
// current one is full (before the next row is examined, so in differences-only
// mode an exactly filled page may be followed by one with only its header),
// in differences-only mode only the differing rows with a gap rule wherever
// rows were skipped between two printed ones (never before the first), and
// one header page for a comparison without rows so the document is never empty.
class PrintPlan {
public:
    PrintPlan(uint32_t rowCount, int linesPerPage, bool differencesOnly, std::function<bool(uint32_t)> differs);
    PrintStep Next();
    int Pages() const { return m_page; }

private:
    uint32_t m_rowCount;
    int m_linesPerPage;
    bool m_differencesOnly;
    std::function<bool(uint32_t)> m_differs;
    uint32_t m_row = 0;
    uint32_t m_expectedRow = 0;
    bool m_first = true;
    int m_linesLeft = 0;
    int m_page = 0;
};
