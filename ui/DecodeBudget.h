// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>

// How much work decoding one picture may cost: seconds of processor time of
// the thread that decodes it, counted from the budget's construction on
// that thread, and a flag another thread may raise to stop the work early
// (the program ending). A hostile file can make a decoder spend minutes on a
// few hundred kilobytes (a JPEG of many thousand comment segments or scans);
// processor time rather than wall time keeps a busy machine from cutting
// short a picture that is only waiting for its turn.
//
// Make and ask it on the decoding thread only; the flag may be raised from
// anywhere.
class DecodeBudget {
public:
    // seconds: processor seconds allowed; cancel: null for none.
    DecodeBudget(double seconds, const std::atomic<bool>* cancel = nullptr);

    // True once the time is used up or the flag is raised; stays true.
    bool Spent() const;
    bool Cancelled() const { return m_cancel && m_cancel->load(std::memory_order_relaxed); }

    // Processor seconds the calling thread has used since it started.
    static double ThreadSeconds();

private:
    double m_deadline;
    const std::atomic<bool>* m_cancel;
    mutable bool m_spent = false;
};
