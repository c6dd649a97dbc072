// One print job from the chosen printer's device context to the end of the
// document: layout, progress dialog, abort procedure, pages and rows. The
// document calls go through PrintDevice so that tests can watch them and make
// them fail, and draw the pages onto a metafile instead of a spooler.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "engine/diff_block.h"
#include "framework/cstring.h"
#include "printing/page_drawing.h"

class CWnd;
class TextBuffer;

class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    // The context every page is drawn on.
    virtual HDC Dc() = 0;
    // The page's size and resolution and the fonts' extents on this device.
    virtual PageMetrics Metrics(const PrintFonts& fonts) { return MeasurePage(Dc(), fonts); }
    virtual int StartDoc(const DOCINFOA& info) { return ::StartDocA(Dc(), &info); }
    virtual int StartPage() { return ::StartPage(Dc()); }
    virtual int EndPage() { return ::EndPage(Dc()); }
    virtual int EndDoc() { return ::EndDoc(Dc()); }
    virtual int AbortDoc() { return ::AbortDoc(Dc()); }
};

// What a job prints: the comparison window's rows, names and blocks.
struct PrintContent {
    CString titleText;
    CString sourcePath;
    CString masterPath;
    const TextBuffer* source = nullptr;
    const TextBuffer* master = nullptr;
    uint32_t totalRows = 0;
    const std::vector<DiffBlock>* blocks = nullptr;
};

enum class PrintOutcome {
    Printed,
    Cancelled,   // the user's Cancel: the document was aborted
    NoRoom,      // not one row fits below the header; nothing was started
    StartFailed, // the printer refused to start the document
    PageFailed,  // the printer refused to start or end a page (failedPage says which)
    EndFailed,   // every page went out but the document could not be ended
};

struct PrintResult {
    PrintOutcome outcome = PrintOutcome::Printed;
    int failedPage = 0;
    int pagesPrinted = 0; // pages ended successfully
    int totalPages = 0;   // the estimate the progress dialog showed
};

// Prints the comparison on the device: everything, with differing rows in
// bold, or only the differing rows with gap rules. The owner (may be null)
// is disabled while the job runs. Reports nothing itself.
PrintResult PrintToDevice(PrintDevice& device, CWnd* owner, const PrintContent& content, bool differencesOnly);
