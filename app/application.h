#pragma once

#include "readerkeys.h"

#include <QApplication>

// The application, offering each event to the screen readers' key hand-over
// before anything else sees it, Qt's own bridge included (see readerkeys.h).
class Application : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        return platform::handKeyToReaders(receiver, event) || QApplication::notify(receiver, event);
    }
};
