// Next, Previous and Select Difference: stepping through the difference list.
#include "compare_window/compare_window.h"

namespace {

// A block of at most half a view starts in the middle of the view, a longer
// one that still fits ends at its bottom, one that does not fit starts at the top.
int TopForBlock(int firstRow, int height, int visibleRows)
{
    if (height >= visibleRows)
        return firstRow;
    if (height > visibleRows / 2)
        return firstRow + height - visibleRows;
    return firstRow - visibleRows / 2;
}

} // namespace

const DiffBlock* CompareWindow::NextDifferenceBlock() const
{
    if (!activePane)
        return nullptr;
    const long long caretRow = activePane->caret.row;
    for (const DiffBlock& block : blocks)
        if (block.kind != BLOCK_EQUAL && block.firstRow > caretRow)
            return &block;
    return nullptr;
}

const DiffBlock* CompareWindow::PreviousDifferenceBlock() const
{
    if (!activePane)
        return nullptr;
    const long long caretRow = activePane->caret.row;
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
        if (block->kind != BLOCK_EQUAL && block->firstRow < caretRow)
            return &*block;
    return nullptr;
}

void CompareWindow::NextDifference()
{
    const DiffBlock* block = NextDifferenceBlock();
    if (!block)
        return;
    const int firstRow = static_cast<int>(block->firstRow);
    sourcePane.MoveCaret(0, firstRow, MOVE_BOTH);
    RECT client;
    if (rowHeight > 0 && sourcePane.m_hWnd && ::GetClientRect(sourcePane.m_hWnd, &client)) {
        const int rows = (client.bottom - ::GetSystemMetrics(SM_CYHSCROLL)) / rowHeight;
        const int height = BlockHeight(*block);
        if (firstRow + height >= topRow + rows)
            ScrollToRow(SB_THUMBPOSITION, TopForBlock(firstRow, height, rows));
    }
    SelectDifference();
}

void CompareWindow::PreviousDifference()
{
    const DiffBlock* block = PreviousDifferenceBlock();
    if (!block)
        return;
    sourcePane.MoveCaret(0, static_cast<int>(block->firstRow), MOVE_BOTH);
    SelectDifference();
}

// Selects the whole rows of the block under the caret, caret on its first row.
void CompareWindow::SelectDifference()
{
    if (!activePane)
        return;
    const DiffBlock* block = FindBlockAtRow(activePane->caret.row);
    if (!block || block->kind == BLOCK_EQUAL)
        return;
    const int firstRow = static_cast<int>(block->firstRow);
    activePane->CollapseSelectionAt({ 0, firstRow + BlockHeight(*block) });
    activePane->MoveCaret(0, firstRow, MOVE_BOTH | EXTEND_SELECTION);
}
