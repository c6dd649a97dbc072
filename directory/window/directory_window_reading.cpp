// What the directory window reads off its own thread: the contents of pairs
// whose sizes agree (shown as not known until read) and which subfolders'
// trees differ. One reading at a time; every pairing starts it again, and it
// only ever asks for what is still unknown, so no file is read twice.
#include "directory/window/directory_window.h"

#include <algorithm>
#include <climits>

#include "common/phase_timing.h"
#include "common/process_values.h"

namespace {

std::vector<PairedRow> RowsOf(const FileListView& source, const FileListView& master)
{
    std::vector<PairedRow> rows(static_cast<size_t>(source.RowCount()));
    for (size_t row = 0; row < rows.size(); ++row)
        rows[row] = { source.GetEntry(static_cast<int>(row)), master.GetEntry(static_cast<int>(row)) };
    return rows;
}

} // namespace

void DirectoryWindow::StartReading()
{
    std::vector<PairedRow> rows = RowsOf(sourceFiles, masterFiles);
    ReadingJob job;
    job.method = g_values.howCompare;
    job.patternText = m_scannedPattern;
    job.pairs = PairsToRead(rows, ScannedDirectory(SOURCE_SIDE), ScannedDirectory(MASTER_SIDE));
    m_readingRows.clear();
    m_unpaintedFirst = INT_MAX;
    m_unpaintedLast = -1;
    for (const PairToRead& pair : job.pairs)
        m_readingRows.push_back(pair.row);
    if (includeSubdirectories) {
        job.folders.clear();
    } else {
        job.folders = PairFolders(CurrentDirectory(SOURCE_SIDE), sourceDirectories.SubfolderNames(),
                                  CurrentDirectory(MASTER_SIDE), masterDirectories.SubfolderNames());
    }
    m_readingFolders = job.folders;
    if (includeSubdirectories)
        ShowTreeFolderStates();
    if (job.pairs.empty() && job.folders.empty()) {
        reader.Cancel();
        m_deferredJob.reset();
        m_readingJob = 0;
        return;
    }
    // Answers are taken ten times a second; the end of the job is posted.
    ::SetTimer(m_hWnd, READING_TIMER, READING_POLL_MS, nullptr);
    if (!::IsWindowVisible(m_hWnd)) {
        // At set-up the reading would compete with the first paint: it
        // begins on the first tick, which comes after the window has painted.
        m_deferredJob = std::make_unique<ReadingJob>(std::move(job));
        m_readingJob = DEFERRED_JOB;
        return;
    }
    PHASE_MARK("reading");
    m_readingJob = reader.Start(std::move(job), m_hWnd, WM_READING_ANSWERS);
}

void DirectoryWindow::OnFoldersRelisted(DirectoryListBox&)
{
    StartReading();
}

LRESULT DirectoryWindow::OnReadingAnswers(WPARAM, LPARAM)
{
    BackgroundReader::Answers answers = reader.Take();
    if (m_readingJob == 0 || answers.job != m_readingJob) {
        if (m_readingJob == 0)
            ::KillTimer(m_hWnd, READING_TIMER);
        return 0;
    }
    for (const auto& [index, status] : answers.pairs) {
        int row = static_cast<int>(m_readingRows[index]);
        m_unpaintedFirst = std::min(m_unpaintedFirst, row);
        m_unpaintedLast = std::max(m_unpaintedLast, row);
        // A copy may have settled the pair meanwhile.
        for (FileListView* list : { &sourceFiles, &masterFiles })
            if (FileEntry* entry = list->GetEntry(row); entry && entry->status == STATUS_NOT_KNOWN)
                entry->status = status;
    }
    if (!answers.pairs.empty())
        RepaintReadRows();
    for (const auto& [index, state] : answers.folders) {
        const FolderToJudge& folder = m_readingFolders[index];
        sourceDirectories.SetFolderState(folder.sourcePath, state);
        masterDirectories.SetFolderState(folder.masterPath, state);
    }
    if (answers.finished) {
        m_readingJob = 0;
        ::KillTimer(m_hWnd, READING_TIMER);
        PHASE_MARK("reading done");
    }
    return 0;
}

// Under Wine a repaint of both lists costs as much as reading dozens of small
// files, and every repaint competes with the reading for the server: only
// rows on screen are repainted.
void DirectoryWindow::RepaintReadRows()
{
    for (FileListView* list : { &sourceFiles, &masterFiles }) {
        int top = list->TopRow();
        int shown = static_cast<int>(list->SendMessage(LVM_GETCOUNTPERPAGE)) + 1;
        int first = std::max(m_unpaintedFirst, top);
        int last = std::min(m_unpaintedLast, top + shown);
        if (first <= last)
            list->SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
    }
    m_unpaintedFirst = INT_MAX;
    m_unpaintedLast = -1;
    if (includeSubdirectories)
        ShowTreeFolderStates();
}

LRESULT DirectoryWindow::OnTimer(WPARAM id, LPARAM)
{
    if (id != READING_TIMER)
        return Default();
    if (m_deferredJob) {
        PHASE_MARK("reading");
        m_readingJob = reader.Start(std::move(*m_deferredJob), m_hWnd, WM_READING_ANSWERS);
        m_deferredJob.reset();
        return 0;
    }
    return OnReadingAnswers(0, 0);
}

void DirectoryWindow::ShowTreeFolderStates()
{
    std::vector<FolderState> states = FolderStatesFromRows(RowsOf(sourceFiles, masterFiles));
    for (DirectoryListBox* side : { &sourceDirectories, &masterDirectories })
        for (const std::string& name : side->SubfolderNames())
            side->SetFolderStateByName(name, FolderStateOf(states, name));
}
