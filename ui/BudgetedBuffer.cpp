#include "ui/BudgetedBuffer.h"

BudgetedBuffer::BudgetedBuffer(QByteArray* data, const DecodeBudget& budget) : QBuffer(data), m_budget(budget)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 BudgetedBuffer::readData(char* data, qint64 maxSize)
{
    if (m_budget.Spent())
        return 0;
    return QBuffer::readData(data, maxSize);
}
