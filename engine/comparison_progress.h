// What the difference algorithm needs from its progress display. The Win32
// progress dialog implements it; tests and benchmarks use fakes.
#pragma once

#include <cstdint>

class ComparisonProgress {
public:
    virtual ~ComparisonProgress() = default;
    virtual void SetRange(uint32_t range) = 0;
    virtual void SetPos(uint32_t position) = 0;
    virtual bool IsCancelled() = 0;
    // Lets the user interface breathe; called from inside long searches.
    virtual void PumpMessages() = 0;
};
