#include "directory/copy/copy_selected.h"

#include <windows.h>

#include "directory/copy/copy_answers.h"
#include "directory/copy/copy_dialogs.h"
#include "directory/copy/copy_one_file.h"
#include "directory/copy/copy_progress_dialog.h"
#include "directory/copy/create_folders.h"
#include "resources/resource.h"

namespace {

struct DiskFile {
    bool exists = false;
    DWORD attributes = 0;
    WORD date = 0;
    WORD time = 0;
};

// What the disk says now, not what the last scan saw: a target that changed
// since then is judged by its real time.
DiskFile ReadDiskFile(const std::string& path)
{
    DiskFile file;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return file;
    file.exists = true;
    file.attributes = data.dwFileAttributes;
    FILETIME local;
    if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !::FileTimeToDosDateTime(&local, &file.date, &file.time))
        file.date = file.time = 0;
    return file;
}

// Puts back a read-only attribute that was cleared for the copy, whatever
// became of the copy.
class ReadOnlyRestorer {
public:
    explicit ReadOnlyRestorer(const std::string& path) : m_path(path) {}
    ~ReadOnlyRestorer()
    {
        if (m_cleared)
            ::SetFileAttributesA(m_path.c_str(), m_attributes);
    }
    bool Clear(DWORD attributes)
    {
        if (!::SetFileAttributesA(m_path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
            return false;
        m_cleared = true;
        m_attributes = attributes;
        return true;
    }

private:
    std::string m_path;
    bool m_cleared = false;
    DWORD m_attributes = 0;
};

class CopyRun {
public:
    CopyRun(CWnd* parent, const std::string& toDirectory, CopyListener* listener)
        : m_parent(parent), m_toDirectory(toDirectory), m_listener(listener), m_progress(parent)
    {
    }

    void CopyFile(const std::string& source, const std::string& target, const std::string& fileName);
    bool IsCancelled() { return m_progress.IsCancelled(); }

    CopyRunResult result;

private:
    HWND ParentWindow() const;
    bool MayReplaceNewer(const std::string& source, const std::string& target, const DiskFile& targetFile);

    CWnd* m_parent;
    std::string m_toDirectory;
    CopyListener* m_listener;
    CopyProgressDialog m_progress;
    StandingAnswer m_newer;
    StandingAnswer m_readOnly;
};

HWND CopyRun::ParentWindow() const
{
    return m_parent ? m_parent->GetSafeHwnd() : nullptr;
}

bool CopyRun::MayReplaceNewer(const std::string& source, const std::string& target, const DiskFile& targetFile)
{
    DiskFile sourceFile = ReadDiskFile(source);
    if (!sourceFile.exists || !IsTargetNewer(targetFile.date, targetFile.time, sourceFile.date, sourceFile.time))
        return true;
    if (m_newer.Stands())
        return true;
    return m_newer.Accept(AskYesNoAll(m_parent, IDS_NEWER_TARGET, target.c_str(), source.c_str()));
}

void CopyRun::CopyFile(const std::string& source, const std::string& target, const std::string& fileName)
{
    DiskFile targetFile = ReadDiskFile(target);
    ReadOnlyRestorer readOnly(target);
    if (targetFile.exists) {
        if (!MayReplaceNewer(source, target, targetFile)) {
            ++result.skipped;
            return;
        }
        if (targetFile.attributes & FILE_ATTRIBUTE_READONLY) {
            if (!m_readOnly.Stands() &&
                !m_readOnly.Accept(AskYesNoAll(m_parent, IDS_READ_ONLY_TARGET, target.c_str()))) {
                ++result.skipped;
                return;
            }
            if (!readOnly.Clear(targetFile.attributes)) {
                ShowError(ParentWindow(), IDS_READ_ONLY_UNCHANGED, target.c_str());
                ++result.skipped;
                return;
            }
        }
    }
    if (IsCancelled())
        return;
    // A file below the directory may need folders the target side lacks.
    std::string folder, reason;
    if (!CreateFoldersFor(m_toDirectory, fileName, folder, reason)) {
        ++result.failed;
        ShowError(ParentWindow(), IDS_FOLDER_NOT_CREATED, folder.c_str(), reason.c_str());
        return;
    }
    m_progress.ShowPaths(source, target);
    CopyOutcome outcome = CopyOneFile(source, target, m_progress);
    m_progress.ShowPaths("", "");
    switch (outcome.result) {
    case CopyResult::Copied:
        ++result.copied;
        if (m_listener)
            m_listener->FileCopied(fileName);
        break;
    case CopyResult::Failed:
        ++result.failed;
        ShowError(ParentWindow(), IDS_COPY_ERROR, source.c_str(), target.c_str(), outcome.errorText.c_str());
        break;
    case CopyResult::Cancelled:
        break;
    }
}

} // namespace

CopyRunResult CopySelected(CWnd* parent, const std::string& fromDirectory, const std::string& toDirectory,
                           const std::vector<std::string>& fileNames, CopyListener* listener)
{
    if (fileNames.empty())
        return {};
    HWND owner = parent ? parent->GetSafeHwnd() : nullptr;
    // The window takes no input while its files are being copied; the
    // progress dialog and the questions stay usable.
    bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    CopyRunResult result;
    {
        CopyRun run(parent, toDirectory, listener);
        for (const std::string& name : fileNames) {
            if (run.IsCancelled())
                break;
            run.CopyFile(JoinPath(fromDirectory, name), JoinPath(toDirectory, name), name);
        }
        result = run.result;
        result.cancelled = run.IsCancelled();
        if (ownerWasEnabled)
            ::EnableWindow(owner, TRUE);
    }
    return result;
}
