#include "print_job.h"

#include "engine/text_buffer.h"
#include "framework/wnd.h"
#include "printing/print_layout.h"
#include "printing/print_progress_dialog.h"

namespace {

// How often the job lets waiting messages through between pages: often
// enough for Cancel and repainting, rarely enough to cost nothing.
constexpr DWORD PUMP_INTERVAL = 50;

// Disables the owner for the job's lifetime and names the progress dialog
// to the abort procedure; undone in reverse whatever way the job ends.
class JobScope {
public:
    JobScope(CWnd* owner, PrintProgressDialog& progress) : m_owner(owner)
    {
        if (m_owner && m_owner->m_hWnd)
            ::EnableWindow(m_owner->m_hWnd, FALSE);
        g_printProgress = &progress;
    }
    ~JobScope()
    {
        g_printProgress = nullptr;
        if (m_owner && m_owner->m_hWnd)
            ::EnableWindow(m_owner->m_hWnd, TRUE);
    }

private:
    CWnd* m_owner;
};

class Job {
public:
    Job(PrintDevice& device, const PrintContent& content, const PrintLayout& layout, const PrintFonts& fonts,
        HPEN rulePen, PrintProgressDialog& progress)
        : m_device(device), m_content(content), m_layout(layout), m_fonts(fonts), m_rulePen(rulePen),
          m_progress(progress), m_marks(*content.source, *content.master, *content.blocks)
    {
    }

    void Run(PrintPlan& plan, PrintResult& result);

private:
    // The abort procedure's question, asked by the job itself as well: not
    // every spooler calls the procedure while pages are drawn.
    bool Cancelled()
    {
        m_lastPump = ::GetTickCount();
        return !PrintAbortProc(m_device.Dc(), 0);
    }
    bool EndOpenPage(PrintResult& result);
    bool Abort(PrintResult& result, PrintOutcome failure, int page);

    PrintDevice& m_device;
    const PrintContent& m_content;
    const PrintLayout& m_layout;
    const PrintFonts& m_fonts;
    HPEN m_rulePen;
    PrintProgressDialog& m_progress;
    // The job's own: the rows it prints are asked once each.
    ChangeMarks m_marks;
    DWORD m_lastPump = 0;
    int m_openPage = 0; // the page started and not yet ended, 0 for none
};

bool Job::Abort(PrintResult& result, PrintOutcome failure, int page)
{
    m_device.AbortDoc();
    // A failure the user asked for by pressing Cancel is no failure to report.
    result.outcome = m_progress.IsCancelled() ? PrintOutcome::Cancelled : failure;
    result.failedPage = result.outcome == PrintOutcome::PageFailed ? page : 0;
    return false;
}

bool Job::EndOpenPage(PrintResult& result)
{
    if (Cancelled())
        return Abort(result, PrintOutcome::Cancelled, m_openPage);
    if (m_device.EndPage() <= 0)
        return Abort(result, PrintOutcome::PageFailed, m_openPage);
    ++result.pagesPrinted;
    m_openPage = 0;
    return true;
}

void Job::Run(PrintPlan& plan, PrintResult& result)
{
    m_lastPump = ::GetTickCount();
    for (;;) {
        PrintStep step = plan.Next();
        switch (step.kind) {
        case PrintStepKind::NewPage: {
            if (m_openPage && !EndOpenPage(result))
                return;
            int page = m_progress.NextPage();
            if (m_device.StartPage() <= 0) {
                Abort(result, PrintOutcome::PageFailed, page);
                return;
            }
            m_openPage = page;
            DrawPageFrame(m_device.Dc(), m_layout, m_fonts, m_rulePen, m_content.sourcePath, m_content.masterPath,
                          page);
            break;
        }
        case PrintStepKind::GapRule:
            DrawGapRule(m_device.Dc(), m_layout, m_layout.firstRowY + step.slot * m_layout.lineHeight);
            break;
        case PrintStepKind::Row:
            DrawRow(m_device.Dc(), m_layout, m_fonts, step.bold, m_layout.firstRowY + step.slot * m_layout.lineHeight,
                    *m_content.source, *m_content.master, step.row, m_marks.ForRow(static_cast<int>(step.row)));
            break;
        case PrintStepKind::Done:
            if (m_openPage && !EndOpenPage(result))
                return;
            if (m_device.EndDoc() <= 0) {
                Abort(result, PrintOutcome::EndFailed, 0);
                return;
            }
            result.outcome = PrintOutcome::Printed;
            return;
        }
        if (::GetTickCount() - m_lastPump >= PUMP_INTERVAL && Cancelled()) {
            Abort(result, PrintOutcome::Cancelled, m_openPage);
            return;
        }
    }
}

} // namespace

PrintResult PrintToDevice(PrintDevice& device, CWnd* owner, const PrintContent& content, bool differencesOnly)
{
    PrintResult result;
    HDC dc = device.Dc();
    PrintFonts fonts;
    fonts.Create(dc);
    PrintLayout layout = ComputePrintLayout(device.Metrics(fonts));
    if (layout.linesPerPage < 1) {
        result.outcome = PrintOutcome::NoRoom;
        return result;
    }
    CPen rulePen;
    rulePen.CreatePen(PS_SOLID, 3, RGB(0, 0, 0));

    ::SetAbortProc(dc, PrintAbortProc);
    result.totalPages = EstimatePages(*content.blocks, differencesOnly, layout.linesPerPage);
    PrintProgressDialog progress(owner, result.totalPages, content.titleText);
    JobScope scope(owner, progress);

    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = content.titleText.c_str();
    if (device.StartDoc(info) <= 0) {
        // No document exists to abort.
        result.outcome = progress.IsCancelled() ? PrintOutcome::Cancelled : PrintOutcome::StartFailed;
        return result;
    }
    const TextBuffer& source = *content.source;
    PrintPlan plan(PrintRowCount(content.totalRows, source, *content.master), layout.linesPerPage, differencesOnly,
                   [&source](uint32_t row) { return RowDiffersForPrint(source, row); });
    Job(device, content, layout, fonts, rulePen, progress).Run(plan, result);
    return result;
}
