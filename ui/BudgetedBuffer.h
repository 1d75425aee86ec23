// SPDX-License-Identifier: MIT
#pragma once

#include "ui/DecodeBudget.h"

#include <QByteArray>
#include <QIODevice>

// A picture file's bytes as the device an image reader pulls them from.
// Every read first asks the budget; once it is spent the data ends there, so
// a decoder stuck in a costly file meets an early end and stops: a JPEG
// decoder then finishes with what it has (which the caller must throw away,
// see DecodeBudget::Spent), a PNG decoder fails.
//
// Deliberately not a QBuffer: Qt's JPEG reader takes a QBuffer's whole data
// in one piece and would never read again. Unbuffered, so the budget is
// asked at every read the decoder makes (4 KB at a time for JPEG), not once
// per 16 KB of Qt's own buffering.
class BudgetedBuffer : public QIODevice {
public:
    // data and budget must outlive the buffer. Opens it for reading.
    BudgetedBuffer(const QByteArray& data, const DecodeBudget& budget);

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_data.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray& m_data;
    const DecodeBudget& m_budget;
};
