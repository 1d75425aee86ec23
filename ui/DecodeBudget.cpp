// SPDX-License-Identifier: MIT
#include "ui/DecodeBudget.h"

#include <ctime>

DecodeBudget::DecodeBudget(double seconds, const std::atomic<bool>* cancel)
    : m_deadline(ThreadSeconds() + seconds), m_cancel(cancel)
{
}

bool DecodeBudget::Spent() const
{
    if (!m_spent)
        m_spent = Cancelled() || ThreadSeconds() > m_deadline;
    return m_spent;
}

double DecodeBudget::ThreadSeconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}
