#include "print_layout.h"

#include <algorithm>
#include <utility>

#include "engine/text_buffer.h"

int FontHeightFor(int pointSize, int dpiY)
{
    return (pointSize * dpiY) / -72;
}

PrintLayout ComputePrintLayout(const PageMetrics& metrics, int marginHundredths)
{
    PrintLayout layout;
    layout.charWidth = metrics.charWidth;
    layout.lineHeight = metrics.lineHeight;
    layout.headerHeight = metrics.headerHeight;
    layout.topMargin = metrics.dpiY * marginHundredths / 100;
    layout.ruleY = metrics.headerHeight + layout.topMargin + 8;
    layout.bottomY = metrics.height - layout.topMargin;
    layout.firstRowY = layout.ruleY + 8;
    // A font that could not be measured leaves no room rather than dividing by zero.
    layout.linesPerPage = metrics.lineHeight > 0 ? (layout.bottomY - layout.firstRowY) / metrics.lineHeight : 0;
    layout.leftMargin = metrics.dpiX * marginHundredths / 100;
    layout.middleX = metrics.width / 2 - 1;
    layout.rightColumnX = metrics.charWidth + layout.middleX + 1;
    layout.rightEdge = metrics.width - layout.leftMargin;
    layout.charsPerColumn =
        metrics.charWidth > 0 ? std::max(0, (layout.rightEdge - layout.rightColumnX) / metrics.charWidth) : 0;
    return layout;
}

int EstimatePages(const std::vector<DiffBlock>& blocks, bool differencesOnly, int linesPerPage)
{
    long long rows = 0;
    for (const DiffBlock& block : blocks) {
        if (differencesOnly && block.kind == BLOCK_EQUAL)
            continue;
        rows += std::max(block.sourceCount, block.masterCount);
    }
    long long pages = (linesPerPage + rows + 1) / linesPerPage;
    return static_cast<int>(std::min<long long>(pages, 0x7FFFFFFF));
}

bool RowDiffersForPrint(const TextBuffer& source, uint32_t row)
{
    return source.IsChangedLine(row) || source.IsFiller(row);
}

uint32_t PrintRowCount(uint32_t totalRows, const TextBuffer& source, const TextBuffer& master)
{
    return std::max({ totalRows, source.rowCount, master.rowCount });
}

CString FormatLineNumber(uint32_t lineNumber)
{
    return FormatString("%5.5u:", lineNumber + 1);
}

CString CutToColumn(const CString& text, int limit)
{
    if (limit <= 0)
        return CString();
    return text.size() > static_cast<size_t>(limit) ? text.substr(0, static_cast<size_t>(limit)) : text;
}

PrintPlan::PrintPlan(uint32_t rowCount, int linesPerPage, bool differencesOnly, std::function<bool(uint32_t)> differs)
    : m_rowCount(rowCount), m_linesPerPage(linesPerPage), m_differencesOnly(differencesOnly),
      m_differs(std::move(differs))
{
}

PrintStep PrintPlan::Next()
{
    PrintStep step;
    if (m_linesPerPage < 1)
        return step;
    while (m_row < m_rowCount) {
        if (m_linesLeft < 1) {
            m_linesLeft = m_linesPerPage;
            step.kind = PrintStepKind::NewPage;
            step.page = ++m_page;
            return step;
        }
        uint32_t row = m_row;
        bool differs = m_differs(row);
        step.page = m_page;
        step.slot = m_linesPerPage - m_linesLeft;
        step.row = row;
        if (m_differencesOnly) {
            if (!differs) {
                ++m_row;
                continue;
            }
            if (row != m_expectedRow && !m_first) {
                // The rule takes a line of its own; the row is examined again.
                m_expectedRow = row;
                --m_linesLeft;
                step.kind = PrintStepKind::GapRule;
                return step;
            }
            m_first = false;
            m_expectedRow = row + 1;
            differs = false; // differences-only pages print every row in the text font
        }
        --m_linesLeft;
        ++m_row;
        step.kind = PrintStepKind::Row;
        step.bold = differs;
        return step;
    }
    if (m_page == 0) {
        m_linesLeft = m_linesPerPage;
        step.kind = PrintStepKind::NewPage;
        step.page = ++m_page;
        return step;
    }
    step.page = m_page;
    return step;
}
