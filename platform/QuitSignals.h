// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM, SIGINT and SIGHUP (logout, shutdown, Ctrl+C, a closed terminal)
// arrive as a Qt signal on the user-interface thread, so that the program can
// end the ordinary way and keep its settings.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace korvane {

class QuitSignals : public QObject
{
    Q_OBJECT

public:
    // One instance at a time: it owns the process's handlers for the three signals.
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

signals:
    void Received(int signal);

private:
    void ReadPipe();

    QSocketNotifier *FNotifier = nullptr;
};

} // namespace korvane
