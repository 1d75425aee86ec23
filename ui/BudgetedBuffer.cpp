// SPDX-License-Identifier: MIT
#include "ui/BudgetedBuffer.h"

#include <algorithm>
#include <cstring>

BudgetedBuffer::BudgetedBuffer(const QByteArray& data, const DecodeBudget& budget) : m_data(data), m_budget(budget)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 BudgetedBuffer::readData(char* data, qint64 maxSize)
{
    const qint64 at = pos();
    if (m_budget.Spent() || at >= m_data.size() || maxSize <= 0)
        return 0;
    const qint64 count = std::min(maxSize, m_data.size() - at);
    std::memcpy(data, m_data.constData() + at, size_t(count));
    return count;
}
