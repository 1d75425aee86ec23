// SPDX-License-Identifier: MIT
#include "platform/qt/ChildEnvironment.h"

#include "platform/RasterThreads.h"

QProcessEnvironment ChildEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (RasterThreadsChosenHere())
        env.remove(QString::fromLatin1(kRasterThreadsVariable));
    return env;
}
