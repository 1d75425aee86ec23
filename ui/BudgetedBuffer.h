#pragma once

#include "ui/DecodeBudget.h"

#include <QBuffer>

// A picture file's bytes as the device an image reader pulls them from.
// Every read first asks the budget; once it is spent the data ends there, so
// a decoder stuck in a costly file meets an early end and stops: a JPEG
// decoder then finishes with what it has (which the caller must throw away,
// see DecodeBudget::Spent), a PNG decoder fails. Unbuffered, so the budget is
// asked at every read the decoder makes (4 KB at a time for JPEG), not once
// per 16 KB of Qt's own buffering.
class BudgetedBuffer : public QBuffer {
public:
    // data and budget must outlive the buffer. Opens it for reading.
    BudgetedBuffer(QByteArray* data, const DecodeBudget& budget);

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    const DecodeBudget& m_budget;
};
