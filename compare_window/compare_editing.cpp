// The comparison window's editing commands: undo and redo, the clipboard,
// copying a difference block from one file into the other, and saving.
#include "compare_window.h"

#include "compare_window/row_text.h"
#include "framework/file.h"
#include "resources/resource.h"

// Ctrl+Z: undo the newest edit of the pane with the focus.
void CompareWindow::OnUndo()
{
    activePane->Undo();
}

void CompareWindow::OnUpdateUndo(CCmdUI* state)
{
    state->Enable(!activePane->undoList.empty());
}

// Ctrl+A: redo the newest undone edit of the pane with the focus.
void CompareWindow::OnRedo()
{
    activePane->Redo();
}

void CompareWindow::OnUpdateRedo(CCmdUI* state)
{
    state->Enable(!activePane->redoList.empty());
}

// Ctrl+X, Ctrl+C, Ctrl+V: the pane with the focus does the work.
void CompareWindow::OnCut()
{
    activePane->SendMessage(WM_CUT);
}

void CompareWindow::OnCopy()
{
    activePane->SendMessage(WM_COPY);
}

void CompareWindow::OnPaste()
{
    activePane->SendMessage(WM_PASTE);
}

// Delete (menu): removes the selection of the pane with the focus.
void CompareWindow::OnDelete()
{
    activePane->ReplaceSelection(std::string(), false);
}

void CompareWindow::OnUpdateNeedsSelection(CCmdUI* state)
{
    state->Enable(activePane->HasSelection());
}

void CompareWindow::OnUpdatePaste(CCmdUI* state)
{
    state->Enable(::IsClipboardFormatAvailable(CF_UNICODETEXT) || ::IsClipboardFormatAvailable(CF_TEXT));
}

const DiffBlock* CompareWindow::MergeableBlock(const TextPane& giving) const
{
    if (activePane != &giving)
        return nullptr;
    const DiffBlock* block = FindBlockAtRow(giving.caret.row);
    return block && block->kind != BLOCK_EQUAL ? block : nullptr;
}

// Ctrl+S: the difference block under the caret, from the Source into the Master.
void CompareWindow::OnCopySourceDifference()
{
    if (const DiffBlock* block = MergeableBlock(sourcePane))
        MergeBlock(*block);
}

void CompareWindow::OnUpdateCopySourceDifference(CCmdUI* state)
{
    state->Enable(MergeableBlock(sourcePane) != nullptr);
}

// Ctrl+M: the difference block under the caret, from the Master into the Source.
void CompareWindow::OnCopyMasterDifference()
{
    if (const DiffBlock* block = MergeableBlock(masterPane))
        MergeBlock(*block);
}

void CompareWindow::OnUpdateCopyMasterDifference(CCmdUI* state)
{
    state->Enable(MergeableBlock(masterPane) != nullptr);
}

void CompareWindow::MergeBlock(const DiffBlock& block)
{
    TextPane& from = *activePane;
    TextPane& to = *from.otherPane;
    int first = static_cast<int>(block.firstRow);
    int end = first + BlockHeight(block);

    // Between files of different encodings the characters go over, converted
    // as pasting converts them.
    std::string copied;
    ConvertStore(RowsToString(from.buffer, 0, first, 0, end, true), from.StoreUtf8(), to.StoreUtf8(), copied);
    to.CollapseSelectionAt(TextPosition{ 0, end });
    to.MoveCaret(0, first, EXTEND_SELECTION);
    to.ReplaceSelection(copied, false);
    std::vector<int>& marks = to.undoList.back().fillerRows;
    for (int row = first; row < end; ++row) {
        if (from.buffer.IsFiller(static_cast<uint32_t>(row))) {
            to.MarkFillerRow(row);
            marks.push_back(row);
        }
    }
    from.MoveCaret(0, end, MOVE_BOTH);
}

bool CompareWindow::SavePane(TextPane& pane)
{
    const char* path = pane.filePath.c_str();
    DWORD attributes = ::GetFileAttributesA(path);
    bool clearedReadOnly = false;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        if (AskQuestion(IDS_READ_ONLY_TARGET, MB_YESNO, path) != IDYES)
            return false;
        if (!::SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY)) {
            ShowErrorMessage(IDS_READ_ONLY_UNCHANGED, path);
            return false;
        }
        clearedReadOnly = true;
    }
    bool saved = pane.buffer.Save(pane.filePath);
    if (saved) {
        pane.savedUndoCount = pane.undoList.size();
    } else {
        // The file is as it was, so it keeps its read-only attribute too.
        if (clearedReadOnly)
            ::SetFileAttributesA(path, attributes);
        ShowErrorMessage(IDS_WRITE_ERROR, path);
    }
    pane.InvalidateCaption();
    return saved;
}
