// The rules of the copy questions, free of the platform: when a target counts
// as newer, and what each answer of the question box means for the file and
// for the rest of the run.
#pragma once

#include <cstdint>

// Results of the question box: its three buttons and closing it otherwise.
enum CopyAnswer : int {
    COPY_ANSWER_CANCEL = 2,      // Escape, the system menu's Close
    COPY_ANSWER_YES = 6,         // "&Yes"
    COPY_ANSWER_NO = 7,          // "&No"
    COPY_ANSWER_YES_TO_ALL = 100 // "Yes to &All"
};

// Later by date, or on the same date later by time; DOS words compared as
// unsigned numbers, so two files the lists show as equal never count as newer.
inline bool IsTargetNewer(uint16_t targetDate, uint16_t targetTime, uint16_t sourceDate, uint16_t sourceTime)
{
    return targetDate > sourceDate || (targetDate == sourceDate && targetTime > sourceTime);
}

// One question's standing answer for a run: once "Yes to &All" was given, the
// question is not asked again.
class StandingAnswer {
public:
    bool Stands() const { return m_yesToAll; }
    // True when the file goes ahead. Only "&Yes" and "Yes to &All" go ahead:
    // a user who closes the box or presses Escape backs out of that file.
    bool Accept(int answer)
    {
        if (answer == COPY_ANSWER_YES_TO_ALL)
            m_yesToAll = true;
        return answer == COPY_ANSWER_YES || answer == COPY_ANSWER_YES_TO_ALL;
    }

private:
    bool m_yesToAll = false;
};
