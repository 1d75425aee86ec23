// SPDX-License-Identifier: MIT
#pragma once

#include "ui/PictureDecoder.h"

#include <QObject>
#include <QSize>
#include <QStringList>
#include <QThreadPool>
#include <atomic>

// Decodes users' pictures on a worker thread, one at a time and in the order
// they were asked for, so neither start-up nor the frame loop waits for a
// large photo. Results come back on the thread that owns the loader (the
// interface thread, which also owns the GL context) through decoded().
// A picture that spends its decoding budget is given up like a file that
// cannot be read, and the next one starts.
class PictureLoader : public QObject {
    Q_OBJECT
public:
    // screen: pixels; maxTextureSize, anySize: see PictureDecoder::Decode;
    // budgetSeconds: processor seconds each picture may take.
    PictureLoader(const QSize& screen, int maxTextureSize, bool anySize, QObject* parent = nullptr,
                  double budgetSeconds = PictureDecoder::kBudgetSeconds);
    // Drops the requests not yet started and cancels the one running, whose
    // decoder stops at its next read of the file.
    ~PictureLoader() override;

    void Request(const QString& path);
    // While held, requests wait, in order, and nothing is decoded; Release()
    // starts them. Start-up holds the saved pictures back until the
    // aquarium's first frame is on screen: a photo's decoding takes one of
    // the processor's cores from the work that frame needs.
    void Hold() { m_held = true; }
    void Release();
    // Requests asked for whose result has not been delivered yet.
    int Pending() const { return m_pending; }

signals:
    // picture.Ok() is false when the file could not be decoded.
    void decoded(const QString& path, const DecodedPicture& picture);

private:
    void Start(const QString& path);
    void Deliver(const QString& path, const DecodedPicture& picture);

    QSize m_screen;
    int m_maxTextureSize;
    double m_budgetSeconds;
    bool m_anySize;
    int m_pending = 0;
    bool m_held = false;
    QStringList m_waiting;  // requests made while held
    std::atomic<bool> m_cancel{false};
    QThreadPool m_pool;
};
